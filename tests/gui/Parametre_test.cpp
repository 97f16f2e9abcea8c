// The parameters dialog: what it shows, what confirming stores and in which
// order, and how the origin flag follows the origin fields.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "shell/gui/Parametre.h"

namespace calctopo {
namespace {

QLineEdit* Field(TFParametre& dialog, const char* name) {
    auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(field, nullptr) << name;
    return field;
}

QRadioButton* Unit(TFParametre& dialog, const char* caption) {
    for (auto* item : dialog.findChildren<QRadioButton*>()) {
        if (item->text() == QString::fromUtf8(caption)) {
            return item;
        }
    }
    ADD_FAILURE() << "no radio item " << caption;
    return nullptr;
}

TEST(ParametersDialog, ShowsTheDefaults) {
    ComputationParameters parameters;
    TFParametre dialog(parameters);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Paramètres"));
    EXPECT_TRUE(Unit(dialog, "Grades")->isChecked());
    EXPECT_FALSE(Unit(dialog, "Degrés décimaux")->isChecked());
    EXPECT_FALSE(Unit(dialog, "Degrés sexagésimaux")->isChecked());
    auto* digits = dialog.findChild<QSpinBox*>(QStringLiteral("SEChiffres"));
    ASSERT_NE(digits, nullptr);
    EXPECT_EQ(digits->value(), 3);
    EXPECT_EQ(digits->minimum(), 0);
    EXPECT_EQ(digits->maximum(), 10);
    EXPECT_EQ(Field(dialog, "LELatitude")->text(), QStringLiteral("     45.0000"));
    EXPECT_EQ(Field(dialog, "LECoefRefrac")->text(), QStringLiteral("      0.1200"));
    for (const char* name : {"LEOrigineX", "LEOrigineY", "LEOrigineZ"}) {
        EXPECT_EQ(Field(dialog, name)->text(), QStringLiteral("0")) << name;
    }
    // Showing the dialog alone does not make the origin given.
    EXPECT_FALSE(parameters.originGiven);
}

TEST(ParametersDialog, EachItemStandsForItsUnitCode) {
    const struct {
        const char* caption;
        int code;
    } items[] = {{"Grades", 1}, {"Degrés décimaux", 3}, {"Degrés sexagésimaux", 2}};
    for (const auto& item : items) {
        ComputationParameters parameters;
        parameters.angleUnit = item.code;
        TFParametre dialog(parameters);
        EXPECT_TRUE(Unit(dialog, item.caption)->isChecked()) << item.caption;
        parameters.angleUnit = 0;
        dialog.Store();
        EXPECT_EQ(parameters.angleUnit, item.code) << item.caption;
    }
    // A code of no item selects nothing, and confirming then stores 0.
    ComputationParameters parameters;
    parameters.angleUnit = 7;
    TFParametre dialog(parameters);
    for (auto* item : dialog.findChildren<QRadioButton*>()) {
        EXPECT_FALSE(item->isChecked());
    }
    dialog.Store();
    EXPECT_EQ(parameters.angleUnit, 0);
}

TEST(ParametersDialog, ConfirmingTwiceRoundsToFourDecimals) {
    ComputationParameters parameters;
    {
        TFParametre dialog(parameters);
        Field(dialog, "LECoefRefrac")->setText(QStringLiteral("0.123456"));
        Field(dialog, "LELatitude")->setText(QStringLiteral("  46.5e0 "));
        dialog.Store();
    }
    EXPECT_DOUBLE_EQ(parameters.refractionCoefficient, 0.123456);
    EXPECT_DOUBLE_EQ(parameters.meanLatitude, 46.5);
    {
        TFParametre dialog(parameters);
        EXPECT_EQ(Field(dialog, "LECoefRefrac")->text(), QStringLiteral("      0.1235"));
        dialog.Store();
    }
    EXPECT_DOUBLE_EQ(parameters.refractionCoefficient, 0.1235);
}

TEST(ParametersDialog, EditingAnOriginFieldSetsOriginGivenEvenWhenAbandoned) {
    ComputationParameters parameters;
    parameters.originX = 600000.123456L;
    {
        TFParametre dialog(parameters);
        Field(dialog, "LEOrigineX")->setText(QStringLiteral("5"));
        // Abandoned: nothing is stored.
    }
    EXPECT_TRUE(parameters.originGiven);
    EXPECT_EQ(parameters.originX, 600000.123456L);

    TFParametre dialog(parameters);
    EXPECT_EQ(Field(dialog, "LEOrigineX")->text(), QStringLiteral(" 600000.1235"));
    EXPECT_EQ(Field(dialog, "LEOrigineY")->text(), QStringLiteral("      0.0000"));
    Field(dialog, "LEOrigineZ")->setText(QStringLiteral("-12.25"));
    dialog.Store();
    EXPECT_EQ(parameters.originX, static_cast<long double>(600000.1235));
    EXPECT_EQ(parameters.originZ, -12.25L);
}

TEST(ParametersDialog, BadFieldStopsTheStoreWhereItStands) {
    ComputationParameters parameters;
    TFParametre dialog(parameters);
    Unit(dialog, "Degrés sexagésimaux")->setChecked(true);
    dialog.findChild<QSpinBox*>(QStringLiteral("SEChiffres"))->setValue(5);
    Field(dialog, "LELatitude")->setText(QStringLiteral("abc"));
    Field(dialog, "LECoefRefrac")->setText(QStringLiteral("0.2"));
    Field(dialog, "LEOrigineX")->setText(QStringLiteral("10"));
    try {
        dialog.Store();
        FAIL() << "a latitude of letters was stored";
    } catch (const IoFailure& failure) {
        EXPECT_EQ(Cp1252ToUtf8(failure.what()),
                  "'abc' n'est pas une valeur en virgule flottante correcte");
    }
    EXPECT_EQ(parameters.angleUnit, 2);
    EXPECT_EQ(parameters.significantDigits, 5);
    EXPECT_DOUBLE_EQ(parameters.meanLatitude, 45.0);
    EXPECT_DOUBLE_EQ(parameters.refractionCoefficient, 0.12);
    EXPECT_EQ(parameters.originX, 0.0L);

    // A decimal comma is not a number, whatever the regional settings.
    Field(dialog, "LELatitude")->setText(QStringLiteral(" 46.5 "));
    Field(dialog, "LECoefRefrac")->setText(QStringLiteral("0,13"));
    EXPECT_THROW(dialog.Store(), IoFailure);
    EXPECT_DOUBLE_EQ(parameters.meanLatitude, 46.5);
    EXPECT_DOUBLE_EQ(parameters.refractionCoefficient, 0.12);
}

}  // namespace
}  // namespace calctopo
