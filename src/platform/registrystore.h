// The per-user key-value store that holds the program's settings: keys named by paths such as
// "Software/Tessarine/CustomSettings", each holding named integer and string values. Reading
// never fails loudly and writing never reports an error; callers keep their previous values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vlr {

enum class ValueState {
    Missing,   // no value of that name
    WrongType, // a value that cannot be read as the type asked for
    Ok,
};

template <typename T> struct StoredValue {
    ValueState state = ValueState::Missing;
    T value{};
    bool ok() const { return state == ValueState::Ok; }
};

class RegistryKey {
public:
    virtual ~RegistryKey();
    virtual bool ValueExists(std::string_view name) const = 0;
    virtual StoredValue<int32_t> ReadInteger(std::string_view name) const = 0;
    // Text values are UTF-8.
    virtual StoredValue<std::string> ReadString(std::string_view name) const = 0;
    virtual void WriteInteger(std::string_view name, int32_t value) = 0;
    virtual void WriteString(std::string_view name, std::string_view value) = 0;
    virtual void DeleteValue(std::string_view name) = 0;
    // Makes the writes so far reach the store now; false when the store could not take them
    // (a folder or file that cannot be written). For callers that must know a write happened.
    virtual bool Flush() = 0;
};

class RegistryStore {
public:
    virtual ~RegistryStore();
    // Opens the key at path, creating it when missing; none when it cannot be opened. Writes
    // reach the store at the latest when the key is released.
    virtual std::unique_ptr<RegistryKey> OpenKey(std::string_view path) = 0;
};

} // namespace vlr
