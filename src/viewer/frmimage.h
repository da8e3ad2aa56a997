// The program's own image window: the shown recipe's image at its own size from the top-left
// corner, closed by a click or the Escape key.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QScrollArea;

namespace gratinel {

class Platform;

class frmImage : public QDialog {
    Q_OBJECT
public:
    // recipeTitle and imagePath as the recipe book shows them (the selected title, the tag of
    // lblLaRecette); pageCode as it was when the command ran, before this window took the
    // activation from the book. owner may be null (the toolbar's button gives none).
    frmImage(Platform &platform, const QString &recipeTitle, const QString &imagePath,
             qint16 pageCode, QWidget *owner = nullptr);

    // Loads the image afresh when the book was on its list page: caption and picture;
    // otherwise leaves the window empty, without caption.
    void Form_Load();
    // Loads, then shows the window modally until a click or Escape. When the image could
    // not be loaded the window is never shown: the user gets the failure message instead
    // (only when the book was on its list page). Returns Rejected in that case.
    int exec() override;

    bool loadFailed() const { return loadFailed_; }
    QLabel *Picture1 = nullptr;

    static QString captionFor(const QString &recipeTitle);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Activate();
    void fitToImage();

    Platform &platform_;
    QString recipeTitle_;
    QString imagePath_;
    qint16 pageCode_;
    bool loadFailed_ = false;
    QScrollArea *scroll_ = nullptr;
};

} // namespace gratinel
