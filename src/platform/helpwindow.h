// The program's help viewer: shows the help file (HTML) in a window of its own.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace gratinel {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the help file from its start; a file that cannot be read is said in the window.
    void showContents(const QString &helpFile);

private:
    QTextBrowser *browser_;
};

} // namespace gratinel
