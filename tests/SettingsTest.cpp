#include "settings/UserSettings.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <map>

namespace nimbrel {

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

// What is read back as written is pinned through the window's own start and end.

TEST(Settings, ValuesThatCannotBeReadOrAreOutOfRangeGiveTheirDefaults) {
    MapStore store;
    store.values = {{"top", "abc"},        {"left", ""},         {"height", "0"},
                    {"width", "-5"},       {"windowState", "7"}, {"SpanForward", "yes"},
                    {"SpanBack", "maybe"}, {"maxLength", "0"},   {"keta", "-0.01"},
                    {"logY", "on"},        {"filePattern", ""},  {"sheet", ""}};
    const UserSettings settings = loadSettings(store);
    EXPECT_EQ(settings.window, WindowPlacement{});
    EXPECT_EQ(settings.spanForwardText, QStringLiteral("True"));
    EXPECT_FALSE(settings.spanBack);
    EXPECT_EQ(settings.maxLength, 120);
    EXPECT_EQ(settings.decimalsUnit, *Fixed4::fromText("0.01"));
    EXPECT_FALSE(settings.logY);
    EXPECT_EQ(settings.filePattern, QStringLiteral("*.*"));
    EXPECT_EQ(settings.sheetName, QStringLiteral("sheet1"));

    store.values = {{"maxLength", "15001"}, {"keta", "0"}};
    EXPECT_EQ(loadSettings(store).maxLength, 120);
    EXPECT_EQ(loadSettings(store).decimalsUnit, *Fixed4::fromText("0.01"));
    store.values = {{"maxLength", "1"}, {"keta", "1"}};
    EXPECT_EQ(loadSettings(store).maxLength, 1);
    EXPECT_EQ(loadSettings(store).decimalsUnit, Fixed4::fromWhole(1));
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
    // On a second monitor, gone or still there.
    const WindowPlacement onSecond{1500, 30000, 9000, 12000, WindowState::Normal};
    EXPECT_EQ(placementOnScreens(onSecond, screens), WindowPlacement{});
    EXPECT_EQ(placementOnScreens(onSecond, {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}),
              onSecond);
}

} // namespace nimbrel
