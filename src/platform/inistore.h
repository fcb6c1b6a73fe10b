// The settings store on this platform: one INI file per key under the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config). The key "Software/Tessarine/CustomSettings" is the
// file Tessarine/CustomSettings.ini; its values are the file's top-level entries. Integers are
// written as decimal numbers; an integer is read only from a text that is a whole number in the
// 32-bit range (unsigned values above it wrap as a 32-bit value would).
#pragma once

#include "platform/registrystore.h"

#include <QString>

namespace vlr {

class IniRegistryStore : public RegistryStore {
public:
    // rootFolder empty: the user's configuration folder.
    explicit IniRegistryStore(QString rootFolder = {});
    std::unique_ptr<RegistryKey> OpenKey(std::string_view path) override;

    // The file that holds the key at path.
    QString FileOfKey(std::string_view path) const;

private:
    QString root_;
};

} // namespace vlr
