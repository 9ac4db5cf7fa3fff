#!/usr/bin/env bash
# Saves PNGs of the main window with the demo open, the about box, the BP
# threshold dialog, the summary data window, the BP data list, the patient
# dialog, the serial port dialog, the physician list and entry, the facility
# name and language dialogs and the graphics window's pages, the report dialogs, and the pages of the full, mini
# and patient reports of the demo as printed into a PDF file, the grade page
# at 800x600 and the first sheet of a two-day patient report, and the
# windows and the patient report again in English (in OUT_DIR/en), for review;
# not run by the tests.
# Usage: tools/screenshot.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-screenshots}
mkdir -p "$out"
cmake --build "$build" --target ks318-shots ks318-sim >/dev/null
export LANGUAGE= LC_ALL=ja_JP.UTF-8
# The recorder dialogs (retrieve.png, setup.png, cleardata.png) read from the
# simulator, standing in as COM1.
sim_link=$(mktemp -u /tmp/ks318-sim.XXXXXX)
"$build/tools/ks318-sim" --link "$sim_link" --generate 20 --quiet >/dev/null &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; rm -f "$sim_link"' EXIT
for _ in $(seq 50); do [ -e "$sim_link" ] && break; sleep 0.1; done
export KS318_COM1=$sim_link
# COM2 on a USB adapter that is not plugged in (serialport.png).
export KS318_COM2=/dev/ttyUSB97
# The same windows in English in $out/en (main.png, summary.png, patient.png
# and the rest); the recording's own texts stay as recorded.
mkdir -p "$out/en"
for lang in ja en; do
  dir=$out
  [ "$lang" = en ] && dir=$out/en
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/src/app/ks318-shots" --lang "$lang" samples/DEMO.DAT "$dir"
  else
    QT_QPA_PLATFORM=offscreen "$build/src/app/ks318-shots" --lang "$lang" samples/DEMO.DAT "$dir"
  fi
done
# The reports of the demo with a facility name to print, in a scratch folder.
cmake --build "$build" --target ks318-cli >/dev/null
cli=$(cd "$build" && pwd)/tools/ks318-cli
scratch=$(mktemp -d)
cp samples/DEMO.DAT samples/DEMO.p30 "$scratch"/
{ printf '芝公園内科クリニック' | iconv -f UTF-8 -t CP932; printf '\n1\n'; } > "$scratch/data.o"
for kind in full mini patient; do
  (cd "$scratch" && "$cli" report DEMO.DAT --kind "$kind" -o "report-$kind.pdf" 2>/dev/null)
  pdftoppm -png -r 90 "$scratch/report-$kind.pdf" "$out/report-$kind"
done
# The patient report in English.
(cd "$scratch" && "$cli" --lang en report DEMO.DAT --kind patient -o report-patient-en.pdf 2>/dev/null)
pdftoppm -png -r 90 "$scratch/report-patient-en.pdf" "$out/en/report-patient"
rm -rf "$scratch"
# The grade page at 800x600, where the legend shares the width with the
# plot, and the first sheet of the patient report of a two-day recording
# (the sleep bar and time axis above the summary; 16 pt header rows).
cmake --build "$build" --target ks318-gen >/dev/null
gen=$(cd "$build" && pwd)/tools/ks318-gen
scratch=$(mktemp -d)
cp samples/DEMO.DAT samples/DEMO.p30 "$scratch"/
(cd "$scratch" && "$cli" plot DEMO.DAT --page grade --size 800x600 -o grade-800x600.png)
cp "$scratch/grade-800x600.png" "$out/"
"$gen" synth "$scratch/TWODAYS.DAT" --count 12 --seed 2
(cd "$scratch" && "$cli" report TWODAYS.DAT --kind patient --sleep 22:00 --wake 06:00 -o twodays.pdf)
pdftoppm -png -r 90 -f 1 -l 1 -singlefile "$scratch/twodays.pdf" "$out/report-patient-2days"
rm -rf "$scratch"
echo "Saved in $out:" $(cd "$out" && ls *.png en/*.png)
