#pragma once

#include "analysis/Bars.h"
#include "analysis/TimeMarks.h"
#include "data/Fixed4.h"
#include "system/SettingsStore.h"

#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace nimbrel {

// The main window's state as the settings store it.
enum class WindowState : int16_t { Normal = 0, Minimized = 1, Maximized = 2 };

// Where the main window stood, in twips, and in which state.
struct WindowPlacement {
    float top = 50;
    float left = 50;
    float height = 4500;
    float width = 6500;
    WindowState state = WindowState::Normal;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The choices that outlive a run.
struct UserSettings {
    WindowPlacement window;
    // Kept as the text it was stored as ("True", "-1", ...) until the user changes it.
    QString spanForwardText = QStringLiteral("True");
    bool spanBack = false;
    int16_t maxLength = 120;
    Fixed4 decimalsUnit = Fixed4::fromUnits(100); // 0.01
    bool logY = false;
    QString filePattern = QStringLiteral("*.*");
    QString sheetName = QStringLiteral("sheet1");
    BarPeriod bars = BarPeriod::Daily;
    std::vector<int> basicNumbers = kBasicNumbers; // the time marks' counts

    bool spanForward() const;
    void setSpanForward(bool on);
};

// Reads every key; a key that is missing, cannot be read or is out of its range gives its
// default.
[[nodiscard]] UserSettings loadSettings(const SettingsStore& store);
void saveSettings(SettingsStore& store, const UserSettings& settings);

// "True", "False" or a number (nonzero is true); anything else is no boolean.
[[nodiscard]] std::optional<bool> booleanFromText(const QString& text);
QString booleanText(bool value);

// The place to open the window at: a window that is not maximised goes back to the default
// place and size (keeping its state) when its top or left is negative or its top left corner is
// on none of the screens (given in pixels, 15 twips each).
[[nodiscard]] WindowPlacement placementOnScreens(WindowPlacement saved,
                                                 const QList<QRect>& screens);

} // namespace nimbrel
