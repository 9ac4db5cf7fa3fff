#pragma once
// Help in a window of its own: the program's help pages (HTML, in Japanese)
// in a browser with a contents page, a keyword index with a search field,
// a page on using help and one topic per context number of the windows.
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace ks318 {

class HelpService : public QWidget {
    Q_OBJECT
public:
    explicit HelpService(QWidget* parent = nullptr);

    void showContents();        // the contents page
    void showSearch();          // the keyword index with an empty search key
    void showHowToUse();        // how to use help
    void showTopic(int context);  // the topic of a window's help context

    // The anchor of a context number's topic; empty for unknown numbers.
    static QString topicAnchor(int context);
    QString currentAnchor() const { return anchor_; }

private:
    void go(const QString& anchor);
    void filterIndex(const QString& key);

    QTextBrowser* browser_;
    QLineEdit* searchEdit_;
    QListWidget* indexList_;
    QString anchor_;
};

} // namespace ks318
