// The parameters dialog "Paramètres": angle unit, significant digits, mean
// latitude, refraction coefficient, projection origin, "Listing complet", and
// "Calcul étendu", which is no parameter of the work site: the window keeps it
// in the per-user settings and sets and reads it around the dialog.
#pragma once

#include <QDialog>

#include "data/GLOBAL.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace calctopo {

class TFParametre : public QDialog {
    Q_OBJECT
  public:
    // The dialog edits parameters; it shows them at once. Editing an origin
    // field sets parameters.originGiven immediately, whatever the dialog's end.
    explicit TFParametre(ComputationParameters& parameters, QWidget* parent = nullptr);

    // Stores the dialog's values into the parameters, in order: angle unit,
    // significant digits, latitude, refraction coefficient, then the origin
    // when originGiven is set. A field that is not a number throws IoFailure
    // ("'%s' n'est pas une valeur en virgule flottante correcte"); the values
    // stored before it keep their new values.
    void Store();

    // The state of the "Calcul étendu" check box.
    void SetCalculEtendu(bool on);
    bool CalculEtendu() const;

  public slots:
    void LEOrigineChange();

  private:
    void Fill();

    ComputationParameters& parameters_;
    QButtonGroup* RGUniteAng_ = nullptr;
    QSpinBox* SEChiffres_ = nullptr;
    QLineEdit* LELatitude_ = nullptr;
    QLineEdit* LECoefRefrac_ = nullptr;
    QLineEdit* LEOrigineX_ = nullptr;
    QLineEdit* LEOrigineY_ = nullptr;
    QLineEdit* LEOrigineZ_ = nullptr;
    QCheckBox* CBListingComplet_ = nullptr;
    QCheckBox* CBCalculEtendu_ = nullptr;
    QPushButton* BitBtn1_ = nullptr;
    QPushButton* BitBtn2_ = nullptr;
};

}  // namespace calctopo
