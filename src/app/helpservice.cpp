#include "helpservice.h"

#include "records/language.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ks318 {

namespace {

// The help pages: one per language, with the same anchors.
QString helpPage()
{
    return language() == Language::Japanese ? QStringLiteral("qrc:/ks318/help/index.html")
                                            : QStringLiteral("qrc:/ks318/help/index_en.html");
}

struct IndexEntry {
    const char* keyword;
    const char* anchor;
};

// The keyword index: every keyword leads to the topic that explains it.
const IndexEntry kIndex[] = {
    {QT_TRANSLATE_NOOP("ks318::HelpService", "目次"), "contents"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "ヘルプの使い方"), "howto"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "検索"), "howto"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "メインウィンドウ"), "main"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "ファイルを開く"), "main"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "ファイル結合"), "main"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "CSV変換"), "main"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "印刷"), "main"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "終了"), "main"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "血圧データリスト"), "bpdatalist"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "除外"), "bpdatalist"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "コメント"), "bpdatalist"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "血圧設定"), "bpsettings"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "閾値"), "bpsettings"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "患者情報"), "patient"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "睡眠時間"), "patient"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "担当医"), "patient"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "登録医リスト"), "physicians"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "施設名"), "physicians"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "レコーダ設定"), "recordersetup"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "時計"), "recordersetup"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "測定スケジュール"), "recordersetup"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "データ読み込み"), "retrieve"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "データクリア"), "cleardata"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "シリアルポート"), "serialport"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "サマリーデータ"), "summary"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "臨床指標"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "夜間降圧"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "モーニングサージ"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "早朝高血圧"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "血圧変動性"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "AASI"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "24時間プロファイル"), "clinical"},
    {QT_TRANSLATE_NOOP("ks318::HelpService", "グラフ"), "main"},
};

} // namespace

HelpService::HelpService(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("ヘルプ"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("HelpSearchEdit"));
    searchEdit_->setPlaceholderText(tr("キーワード"));
    indexList_ = new QListWidget(this);
    indexList_->setObjectName(QStringLiteral("HelpIndexList"));
    for (const IndexEntry& e : kIndex) {
        auto* item = new QListWidgetItem(tr(e.keyword), indexList_);
        item->setData(Qt::UserRole, QString::fromLatin1(e.anchor));
    }
    connect(searchEdit_, &QLineEdit::textChanged, this, &HelpService::filterIndex);
    connect(indexList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { go(item->data(Qt::UserRole).toString()); });
    connect(indexList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { go(item->data(Qt::UserRole).toString()); });

    auto* side = new QVBoxLayout;
    side->addWidget(searchEdit_);
    side->addWidget(indexList_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side, 1);
    layout->addWidget(browser_, 3);
    resize(760, 520);
}

QString HelpService::topicAnchor(int context)
{
    switch (context) {
    case 5: return QStringLiteral("bpdatalist");
    case 15: return QStringLiteral("bpsettings");
    case 24: return QStringLiteral("main");
    case 33: return QStringLiteral("patient");
    case 35: return QStringLiteral("recordersetup");
    case 37: return QStringLiteral("retrieve");
    case 38: return QStringLiteral("cleardata");
    case 46: return QStringLiteral("serialport");
    default: return QString();
    }
}

void HelpService::go(const QString& anchor)
{
    anchor_ = anchor;
    QUrl url(helpPage());
    url.setFragment(anchor);
    browser_->setSource(url);
    browser_->scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
}

void HelpService::filterIndex(const QString& key)
{
    for (int i = 0; i < indexList_->count(); ++i) {
        QListWidgetItem* item = indexList_->item(i);
        item->setHidden(!key.isEmpty() && !item->text().contains(key, Qt::CaseInsensitive));
    }
}

void HelpService::showContents() { go(QStringLiteral("contents")); }

void HelpService::showSearch()
{
    searchEdit_->clear();
    go(QStringLiteral("contents"));
    searchEdit_->setFocus();
}

void HelpService::showHowToUse() { go(QStringLiteral("howto")); }

void HelpService::showTopic(int context)
{
    const QString anchor = topicAnchor(context);
    go(anchor.isEmpty() ? QStringLiteral("contents") : anchor);
}

} // namespace ks318
