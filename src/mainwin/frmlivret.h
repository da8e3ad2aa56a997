// The booklet's small dialog: the shown family or the whole book, photos, paper, both sides.
#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace gratinel {

class frmLivret : public QDialog {
    Q_OBJECT
public:
    // family: the shown family's name; hasRecipes: whether it has any to print (else the
    // whole book is the only choice).
    frmLivret(const QString &family, bool hasRecipes, QWidget *parent = nullptr);

    bool wholeBook() const;
    bool photos() const;
    bool a5() const;
    bool twoSided() const;

private:
    QRadioButton *optFamille_;
    QRadioButton *optLivre_;
    QCheckBox *chkPhotos_;
    QRadioButton *optA4_;
    QRadioButton *optA5_;
    QCheckBox *chkRectoVerso_;
};

} // namespace gratinel
