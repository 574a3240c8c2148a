#include "system/IniSettingsStore.h"

#include <QSettings>

namespace nimbrel {

struct IniSettingsStore::Private {
    QSettings settings{QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbrel"),
                       QStringLiteral("Nimbrel")};
};

namespace {
QString sectionKey(const QString& key) {
    return QStringLiteral("UserDef/") + key;
}
} // namespace

IniSettingsStore::IniSettingsStore() : d_(std::make_unique<Private>()) {}

IniSettingsStore::~IniSettingsStore() {
    d_->settings.sync();
}

std::optional<QString> IniSettingsStore::value(const QString& key) const {
    const QVariant stored = d_->settings.value(sectionKey(key));
    if (!stored.isValid()) return std::nullopt;
    return stored.toString();
}

void IniSettingsStore::setValue(const QString& key, const QString& value) {
    d_->settings.setValue(sectionKey(key), value);
}

QString IniSettingsStore::fileName() const {
    return d_->settings.fileName();
}

} // namespace nimbrel
