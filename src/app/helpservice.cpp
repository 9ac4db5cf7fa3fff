#include "helpservice.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ks318 {

namespace {

const char* const kHelpPage = "qrc:/ks318/help/index.html";

struct IndexEntry {
    const char* keyword;
    const char* anchor;
};

// The keyword index: every keyword leads to the topic that explains it.
const IndexEntry kIndex[] = {
    {"目次", "contents"},
    {"ヘルプの使い方", "howto"},
    {"検索", "howto"},
    {"メインウィンドウ", "main"},
    {"ファイルを開く", "main"},
    {"ファイル結合", "main"},
    {"CSV変換", "main"},
    {"印刷", "main"},
    {"終了", "main"},
    {"血圧データリスト", "bpdatalist"},
    {"除外", "bpdatalist"},
    {"コメント", "bpdatalist"},
    {"血圧設定", "bpsettings"},
    {"閾値", "bpsettings"},
    {"患者情報", "patient"},
    {"睡眠時間", "patient"},
    {"担当医", "patient"},
    {"登録医リスト", "physicians"},
    {"施設名", "physicians"},
    {"レコーダ設定", "recordersetup"},
    {"時計", "recordersetup"},
    {"測定スケジュール", "recordersetup"},
    {"データ読み込み", "retrieve"},
    {"データクリア", "cleardata"},
    {"シリアルポート", "serialport"},
    {"サマリーデータ", "summary"},
    {"臨床指標", "clinical"},
    {"夜間降圧", "clinical"},
    {"モーニングサージ", "clinical"},
    {"早朝高血圧", "clinical"},
    {"血圧変動性", "clinical"},
    {"AASI", "clinical"},
    {"24時間プロファイル", "clinical"},
    {"グラフ", "main"},
};

} // namespace

HelpService::HelpService(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ヘルプ"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("HelpSearchEdit"));
    searchEdit_->setPlaceholderText(QStringLiteral("キーワード"));
    indexList_ = new QListWidget(this);
    indexList_->setObjectName(QStringLiteral("HelpIndexList"));
    for (const IndexEntry& e : kIndex) {
        auto* item = new QListWidgetItem(QString::fromUtf8(e.keyword), indexList_);
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
    QUrl url(QString::fromLatin1(kHelpPage));
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
