#include "shell/gui/Parametre.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <string>

#include "data/Failures.h"
#include "data/TextNumbers.h"

namespace calctopo {

namespace {

constexpr int kMinDigits = 0;
constexpr int kMaxDigits = 10;

QString Shown(double value) {
    return QString::fromStdString(FormatFixed(value, 4, 12));
}

QLineEdit* NumberField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setAlignment(Qt::AlignRight);
    return field;
}

// The real in a field: its whole text, blanks allowed around it, '.' as the
// decimal point.
double FieldValue(const QLineEdit* field) {
    const std::string text = Utf8ToCp1252(field->text().toStdString());
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') {
        --last;
    }
    const auto value = ParseReal(std::string_view(text).substr(first, last - first));
    if (!value) {
        throw IoFailure("'" + text + "' " +
                        Utf8ToCp1252("n'est pas une valeur en virgule flottante correcte"));
    }
    return *value;
}

}  // namespace

TFParametre::TFParametre(ComputationParameters& parameters, QWidget* parent)
    : QDialog(parent), parameters_(parameters) {
    setObjectName(QStringLiteral("FParametre"));
    setWindowTitle(QStringLiteral("Paramètres"));

    auto* layout = new QVBoxLayout(this);

    auto* unitBox = new QGroupBox(QStringLiteral("Unité angulaire"), this);
    unitBox->setObjectName(QStringLiteral("RGUniteAng"));
    auto* unitLayout = new QVBoxLayout(unitBox);
    RGUniteAng_ = new QButtonGroup(this);
    RGUniteAng_->setObjectName(QStringLiteral("RGUniteAngGroup"));
    // Each item stands for the code of its angle unit.
    const struct {
        const char* caption;
        int code;
    } units[] = {{"Grades", 1}, {"Degrés décimaux", 3}, {"Degrés sexagésimaux", 2}};
    for (const auto& unit : units) {
        auto* item = new QRadioButton(QString::fromUtf8(unit.caption), unitBox);
        unitLayout->addWidget(item);
        RGUniteAng_->addButton(item, unit.code);
    }
    layout->addWidget(unitBox);

    auto* form = new QFormLayout;
    SEChiffres_ = new QSpinBox(this);
    SEChiffres_->setObjectName(QStringLiteral("SEChiffres"));
    SEChiffres_->setRange(kMinDigits, kMaxDigits);
    form->addRow(QStringLiteral("Chiffres significatifs"), SEChiffres_);
    LELatitude_ = NumberField("LELatitude", this);
    form->addRow(QStringLiteral("Latitude moyenne"), LELatitude_);
    LECoefRefrac_ = NumberField("LECoefRefrac", this);
    form->addRow(QStringLiteral("Coefficient de réfraction"), LECoefRefrac_);
    layout->addLayout(form);

    auto* originBox = new QGroupBox(QStringLiteral("Origine de la projection"), this);
    originBox->setObjectName(QStringLiteral("GBOrigine"));
    auto* originForm = new QFormLayout(originBox);
    LEOrigineX_ = NumberField("LEOrigineX", originBox);
    LEOrigineY_ = NumberField("LEOrigineY", originBox);
    LEOrigineZ_ = NumberField("LEOrigineZ", originBox);
    originForm->addRow(QStringLiteral("X"), LEOrigineX_);
    originForm->addRow(QStringLiteral("Y"), LEOrigineY_);
    originForm->addRow(QStringLiteral("Z"), LEOrigineZ_);
    for (QLineEdit* field : {LEOrigineX_, LEOrigineY_, LEOrigineZ_}) {
        field->setText(QStringLiteral("0"));
        connect(field, &QLineEdit::textChanged, this, &TFParametre::LEOrigineChange);
    }
    layout->addWidget(originBox);

    CBListingComplet_ = new QCheckBox(QStringLiteral("Listing complet"), this);
    CBListingComplet_->setObjectName(QStringLiteral("CBListingComplet"));
    layout->addWidget(CBListingComplet_);

    CBCalculEtendu_ = new QCheckBox(QStringLiteral("Calcul étendu"), this);
    CBCalculEtendu_->setObjectName(QStringLiteral("CBCalculEtendu"));
    CBCalculEtendu_->setToolTip(
        QStringLiteral("Après le calcul, place les blocs de points restés sans coordonnées "
                       "dans un repère local recalé sur les points connus"));
    layout->addWidget(CBCalculEtendu_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    BitBtn1_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("OK"), this);
    BitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1_->setDefault(true);
    BitBtn2_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                               QStringLiteral("Abandon"), this);
    BitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(BitBtn1_);
    buttons->addWidget(BitBtn2_);
    layout->addLayout(buttons);
    connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2_, &QPushButton::clicked, this, &QDialog::reject);

    Fill();
}

void TFParametre::Fill() {
    if (QAbstractButton* item = RGUniteAng_->button(parameters_.angleUnit)) {
        item->setChecked(true);
    }
    SEChiffres_->setValue(parameters_.significantDigits);
    LELatitude_->setText(Shown(parameters_.meanLatitude));
    LECoefRefrac_->setText(Shown(parameters_.refractionCoefficient));
    if (parameters_.originGiven) {
        LEOrigineX_->setText(Shown(static_cast<double>(parameters_.originX)));
        LEOrigineY_->setText(Shown(static_cast<double>(parameters_.originY)));
        LEOrigineZ_->setText(Shown(static_cast<double>(parameters_.originZ)));
    }
}

void TFParametre::Store() {
    const int unit = RGUniteAng_->checkedId();
    parameters_.angleUnit = unit < 0 ? 0 : unit;
    const auto digits = ParseInteger(Utf8ToCp1252(SEChiffres_->cleanText().toStdString()));
    parameters_.significantDigits = digits ? *digits : 0;
    parameters_.meanLatitude = FieldValue(LELatitude_);
    parameters_.refractionCoefficient = FieldValue(LECoefRefrac_);
    if (parameters_.originGiven) {
        parameters_.originX = FieldValue(LEOrigineX_);
        parameters_.originY = FieldValue(LEOrigineY_);
        parameters_.originZ = FieldValue(LEOrigineZ_);
    }
}

void TFParametre::SetCalculEtendu(bool on) {
    CBCalculEtendu_->setChecked(on);
}

bool TFParametre::CalculEtendu() const {
    return CBCalculEtendu_->isChecked();
}

void TFParametre::LEOrigineChange() {
    parameters_.originGiven = true;
}

}  // namespace calctopo
