#!/usr/bin/env bash
# Gathers the texts of the sources (tr(), QT_TRANSLATE_NOOP,
# QCoreApplication::translate) into resources/i18n/ks318_en.ts with Qt's
# lupdate (Debian: qt6-l10n-tools). New texts come in marked unfinished; give
# each its English form (Qt Linguist, or by hand) before committing: the
# tests refuse an unfinished or vanished entry. The build compiles the file
# with lrelease.
# Usage: scripts/update-translations.sh
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -silent -locations none -no-obsolete -source-language ja -target-language en \
  src tools/ks318-cli -ts resources/i18n/ks318_en.ts
