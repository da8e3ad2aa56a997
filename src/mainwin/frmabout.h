// The about box: title, version, licence and two links.
#pragma once

#include <QDialog>

namespace gratinel {

class Platform;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(Platform &platform, QWidget *parent = nullptr);

    static QString homePage();
    static QString contactAddress();

private:
    Platform &platform_;
};

} // namespace gratinel
