// A settings store in a fresh temporary folder for each test.
#pragma once

#include "platform/inistore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace vlr::test {

class SettingsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        store = std::make_unique<IniRegistryStore>(folder.path());
    }
    // Writes the text of a key's file, as a user or another program would have left it.
    void WriteKeyFile(const std::string& keyPath, const std::string& text) {
        QString file = store->FileOfKey(keyPath);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.data(), static_cast<qint64>(text.size()));
    }
    // Copies the hand-written files of the tests' data folder into the store.
    void CopyHandWrittenFiles() {
        QDir source(QStringLiteral(VLR_SETTINGS_DATA "/Tessarine"));
        QDir().mkpath(folder.filePath("Tessarine"));
        for (const QString& name : source.entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(source.filePath(name), folder.filePath("Tessarine/" + name)));
        }
    }

    QTemporaryDir folder;
    std::unique_ptr<IniRegistryStore> store;
};

} // namespace vlr::test
