#pragma once

#include "system/SettingsStore.h"

#include <memory>

namespace nimbrel {

// The store of this user on this machine: an INI file of organisation and application
// "Nimbrel" under the XDG configuration folder, section "UserDef".
class IniSettingsStore final : public SettingsStore {
public:
    IniSettingsStore();
    ~IniSettingsStore() override;
    std::optional<QString> value(const QString& key) const override;
    void setValue(const QString& key, const QString& value) override;
    QString fileName() const;

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

} // namespace nimbrel
