#include "settings/UserSettings.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class MapStore final : public SettingsStore {
public:
    std::map<QString, QString> values;
    std::optional<QString> value(const QString& key) const override {
        auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<QString>(found->second);
    }
    void setValue(const QString& key, const QString& value) override { values[key] = value; }
};

} // namespace

TEST(Settings, StoredTextsReadBackAsTheyWereWritten) {
    MapStore store;
    store.values = {{"top", "1080"},      {"left", "-15.5"},        {"height", "9000"},
                    {"width", "12000"},   {"windowState", "2"},     {"SpanForward", "-1"},
                    {"SpanBack", "True"}, {"maxLength", "300"},     {"keta", "0.05"},
                    {"logY", "True"},     {"filePattern", "*.xls"}, {"sheet", "prices$"}};
    const UserSettings settings = loadSettings(store);
    EXPECT_EQ(settings.window,
              (WindowPlacement{1080, -15.5f, 9000, 12000, WindowState::Maximized}));
    EXPECT_TRUE(settings.spanForward());
    EXPECT_TRUE(settings.spanBack);
    EXPECT_EQ(settings.maxLength, 300);
    EXPECT_EQ(settings.keta, *Fixed4::fromText("0.05"));
    EXPECT_TRUE(settings.logY);
    MapStore written;
    saveSettings(written, settings);
    EXPECT_EQ(written.values, store.values); // "-1" stays "-1" while nobody changes it

    UserSettings changed = settings;
    changed.setSpanForward(false);
    saveSettings(written, changed);
    EXPECT_EQ(written.values["SpanForward"], QStringLiteral("False"));
}

TEST(Settings, ValuesThatCannotBeReadOrAreOutOfRangeGiveTheirDefaults) {
    MapStore store;
    store.values = {{"top", "abc"},        {"left", ""},         {"height", "0"},
                    {"width", "-5"},       {"windowState", "7"}, {"SpanForward", "yes"},
                    {"SpanBack", "maybe"}, {"maxLength", "0"},   {"keta", "-0.01"},
                    {"logY", "x"},         {"filePattern", ""},  {"sheet", ""}};
    const UserSettings settings = loadSettings(store);
    EXPECT_EQ(settings.window, WindowPlacement{});
    EXPECT_EQ(settings.spanForwardText, QStringLiteral("True"));
    EXPECT_FALSE(settings.spanBack);
    EXPECT_EQ(settings.maxLength, 120);
    EXPECT_EQ(settings.keta, *Fixed4::fromText("0.01"));
    EXPECT_EQ(settings.filePattern, QStringLiteral("*.*"));
    EXPECT_EQ(settings.sheetSourceName, QStringLiteral("sheet1$"));

    store.values = {{"maxLength", "15001"}, {"keta", "0"}};
    EXPECT_EQ(loadSettings(store).maxLength, 120);
    EXPECT_EQ(loadSettings(store).keta, *Fixed4::fromText("0.01"));
    store.values = {{"maxLength", "15000"}, {"keta", "1"}};
    EXPECT_EQ(loadSettings(store).maxLength, 15000);
    EXPECT_EQ(loadSettings(store).keta, Fixed4::fromWhole(1));
}

TEST(Settings, BooleansAreTrueFalseOrNumbers) {
    EXPECT_EQ(booleanFromText(QStringLiteral("True")), true);
    EXPECT_EQ(booleanFromText(QStringLiteral("false")), false);
    EXPECT_EQ(booleanFromText(QStringLiteral("-1")), true);
    EXPECT_EQ(booleanFromText(QStringLiteral("0")), false);
    EXPECT_EQ(booleanFromText(QStringLiteral("2.5")), true);
    EXPECT_FALSE(booleanFromText(QStringLiteral("on")).has_value());
}

TEST(Settings, AWindowOffEveryScreenGoesBackToTheDefaultPlace) {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080)};
    const WindowPlacement onScreen{1500, 1500, 9000, 12000, WindowState::Normal};
    EXPECT_EQ(placementOnScreens(onScreen, screens), onScreen);
    // A negative top, minimised: the default place and size, still minimised.
    EXPECT_EQ(placementOnScreens({-4800, 100, 9000, 12000, WindowState::Minimized}, screens),
              (WindowPlacement{50, 50, 4500, 6500, WindowState::Minimized}));
    // Maximised keeps whatever it had.
    const WindowPlacement maximised{-60, -60, 9000, 12000, WindowState::Maximized};
    EXPECT_EQ(placementOnScreens(maximised, screens), maximised);
    // On a second monitor that is gone.
    EXPECT_EQ(placementOnScreens({1500, 30000, 9000, 12000, WindowState::Normal}, screens),
              WindowPlacement{});
    EXPECT_EQ(placementOnScreens({1500, 30000, 9000, 12000, WindowState::Normal},
                                 {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}),
              (WindowPlacement{1500, 30000, 9000, 12000, WindowState::Normal}));
}
