#pragma once

#include <QString>

#include <optional>

namespace nimbrel {

// The per-user store of the program's settings: text values under keys of one section.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<QString> value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QString& value) = 0;
};

} // namespace nimbrel
