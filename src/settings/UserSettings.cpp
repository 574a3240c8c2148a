#include "settings/UserSettings.h"

#include "data/PriceSeries.h"
#include "data/TextForms.h"
#include "system/Twips.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nimbrel {

namespace {

std::optional<double> numberFromText(const QString& text) {
    std::optional<Fixed4> exact = Fixed4::fromText(text.toStdString());
    if (exact) return exact->toDouble();
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

float readFloat(const SettingsStore& store, const char* key, float fallback, float lowest) {
    const std::optional<QString> text = store.value(QString::fromLatin1(key));
    if (!text) return fallback;
    const std::optional<double> value = numberFromText(*text);
    if (!value || *value < lowest || std::fabs(*value) > 1e9) return fallback;
    return static_cast<float>(*value);
}

QString floatText(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return QString::fromLatin1(text, end - text);
}

} // namespace

std::optional<bool> booleanFromText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    const std::optional<double> number = numberFromText(trimmed);
    if (number) return *number != 0;
    return std::nullopt;
}

QString booleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool UserSettings::spanForward() const {
    return booleanFromText(spanForwardText).value_or(true);
}

void UserSettings::setSpanForward(bool on) {
    spanForwardText = booleanText(on);
}

// The bars' period as the store keeps it, in the words of the command line.
constexpr std::pair<const char*, BarPeriod> kBarNames[] = {
    {"daily", BarPeriod::Daily}, {"weekly", BarPeriod::Weekly}, {"monthly", BarPeriod::Monthly}};

UserSettings loadSettings(const SettingsStore& store) {
    UserSettings settings;
    WindowPlacement& window = settings.window;
    window.top = readFloat(store, "top", window.top, -1e9f);
    window.left = readFloat(store, "left", window.left, -1e9f);
    window.height = readFloat(store, "height", window.height, 1);
    window.width = readFloat(store, "width", window.width, 1);
    if (const auto text = store.value(QStringLiteral("windowState"))) {
        const std::optional<double> state = numberFromText(*text);
        if (state && (*state == 0 || *state == 1 || *state == 2))
            window.state = static_cast<WindowState>(static_cast<int16_t>(*state));
    }
    if (const auto text = store.value(QStringLiteral("SpanForward"))) {
        if (booleanFromText(*text)) settings.spanForwardText = *text;
    }
    if (const auto text = store.value(QStringLiteral("SpanBack")))
        settings.spanBack = booleanFromText(*text).value_or(settings.spanBack);
    if (const auto text = store.value(QStringLiteral("maxLength"))) {
        const std::optional<double> days = numberFromText(*text);
        if (days && *days >= 1 && *days <= kMaxDays)
            settings.maxLength = static_cast<int16_t>(std::lround(*days));
    }
    if (const auto text = store.value(QStringLiteral("keta"))) {
        const std::optional<Fixed4> decimalsUnit = Fixed4::fromText(text->toStdString());
        if (decimalsUnit && *decimalsUnit > Fixed4()) settings.decimalsUnit = *decimalsUnit;
    }
    if (const auto text = store.value(QStringLiteral("logY")))
        settings.logY = booleanFromText(*text).value_or(settings.logY);
    if (const auto text = store.value(QStringLiteral("filePattern"))) {
        if (!text->isEmpty()) settings.filePattern = *text;
    }
    // The store keeps the sheet name followed by "$", as a data source names a worksheet.
    if (const auto text = store.value(QStringLiteral("sheet"))) {
        QString name = *text;
        if (name.endsWith(QLatin1Char('$'))) name.chop(1);
        if (!name.isEmpty()) settings.sheetName = name;
    }
    if (const auto text = store.value(QStringLiteral("bars"))) {
        for (const auto& [name, period] : kBarNames)
            if (*text == QLatin1String(name)) settings.bars = period;
    }
    if (const auto text = store.value(QStringLiteral("basicNumbers"))) {
        if (const std::optional<std::vector<int>> numbers = parseNumberList(*text))
            settings.basicNumbers = *numbers;
    }
    return settings;
}

void saveSettings(SettingsStore& store, const UserSettings& settings) {
    const WindowPlacement& window = settings.window;
    store.setValue(QStringLiteral("top"), floatText(window.top));
    store.setValue(QStringLiteral("left"), floatText(window.left));
    store.setValue(QStringLiteral("height"), floatText(window.height));
    store.setValue(QStringLiteral("width"), floatText(window.width));
    store.setValue(QStringLiteral("windowState"),
                   QString::number(static_cast<int16_t>(window.state)));
    store.setValue(QStringLiteral("SpanForward"), settings.spanForwardText);
    store.setValue(QStringLiteral("SpanBack"), booleanText(settings.spanBack));
    store.setValue(QStringLiteral("maxLength"), QString::number(settings.maxLength));
    store.setValue(QStringLiteral("keta"),
                   QString::fromStdString(plainDecimal(settings.decimalsUnit)));
    store.setValue(QStringLiteral("logY"), booleanText(settings.logY));
    store.setValue(QStringLiteral("filePattern"), settings.filePattern);
    store.setValue(QStringLiteral("sheet"), settings.sheetName + QLatin1Char('$'));
    for (const auto& [name, period] : kBarNames)
        if (settings.bars == period) store.setValue(QStringLiteral("bars"), QLatin1String(name));
    store.setValue(QStringLiteral("basicNumbers"), numberListText(settings.basicNumbers));
}

WindowPlacement placementOnScreens(WindowPlacement saved, const QList<QRect>& screens) {
    if (saved.state == WindowState::Maximized) return saved;
    const QPoint corner(static_cast<int>(std::floor(saved.left / kTwipsPerPixel)),
                        static_cast<int>(std::floor(saved.top / kTwipsPerPixel)));
    const bool onAScreen = std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        return screen.contains(corner);
    });
    if (saved.top >= 0 && saved.left >= 0 && (onAScreen || screens.isEmpty())) return saved;
    WindowPlacement home;
    home.state = saved.state;
    return home;
}

} // namespace nimbrel
