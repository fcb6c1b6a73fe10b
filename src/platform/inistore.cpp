// Settings keys as INI files.
#include "platform/inistore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace vlr {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class IniRegistryKey : public RegistryKey {
public:
    explicit IniRegistryKey(const QString& file) : settings_(file, QSettings::IniFormat) {}

    bool ValueExists(std::string_view name) const override { return settings_.contains(ToQString(name)); }

    StoredValue<int32_t> ReadInteger(std::string_view name) const override {
        StoredValue<int32_t> result;
        QString text;
        if (!ReadText(name, text)) {
            return result;
        }
        bool isNumber = false;
        qlonglong number = text.trimmed().toLongLong(&isNumber, 10);
        if (!isNumber || number < -2147483648LL || number > 4294967295LL) {
            result.state = ValueState::WrongType;
            return result;
        }
        result.state = ValueState::Ok;
        result.value = static_cast<int32_t>(static_cast<uint32_t>(number));
        return result;
    }

    StoredValue<std::string> ReadString(std::string_view name) const override {
        StoredValue<std::string> result;
        QString text;
        if (ReadText(name, text)) {
            result.state = ValueState::Ok;
            result.value = text.toStdString();
        }
        return result;
    }

    void WriteInteger(std::string_view name, int32_t value) override {
        settings_.setValue(ToQString(name), value);
    }
    void WriteString(std::string_view name, std::string_view value) override {
        settings_.setValue(ToQString(name), ToQString(value));
    }
    void DeleteValue(std::string_view name) override { settings_.remove(ToQString(name)); }
    bool Flush() override {
        settings_.sync();
        return settings_.status() == QSettings::NoError;
    }

private:
    // Any stored value as text. A text with commas that was written by hand without quotes
    // comes back as a list; it is joined again.
    bool ReadText(std::string_view name, QString& text) const {
        QVariant value = settings_.value(ToQString(name));
        if (!value.isValid()) {
            return false;
        }
        if (value.typeId() == QMetaType::QStringList) {
            text = value.toStringList().join(',');
        } else {
            text = value.toString();
        }
        return true;
    }

    mutable QSettings settings_;
};

} // namespace

IniRegistryStore::IniRegistryStore(QString rootFolder) : root_(std::move(rootFolder)) {
    if (root_.isEmpty()) {
        root_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
}

QString IniRegistryStore::FileOfKey(std::string_view path) const {
    QString key = ToQString(path);
    key.replace('\\', '/');
    while (key.startsWith('/')) {
        key.remove(0, 1);
    }
    // The configuration folder is the user's own software branch.
    if (key.startsWith("Software/", Qt::CaseInsensitive)) {
        key.remove(0, 9);
    }
    return QDir(root_).filePath(key + ".ini");
}

std::unique_ptr<RegistryKey> IniRegistryStore::OpenKey(std::string_view path) {
    if (path.empty()) {
        return nullptr;
    }
    return std::make_unique<IniRegistryKey>(FileOfKey(path));
}

} // namespace vlr
