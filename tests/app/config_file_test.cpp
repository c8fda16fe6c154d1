// The configuration file beside the executable: when it is written, and how
// the settings are read from it.

#include "app/config/config_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "runtime/fs.h"
#include "runtime/paths.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeText;

std::string contentOf(const std::string& path) {
    const testsupport::Bytes bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string ioErrorOf(const auto& action) {
    try {
        action();
    } catch (const runtime::IOError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ReadConfigFile, ReadsAFileByItsUtf8Name) {
    TempFolder folder;
    const std::string path = folder / "\xC3\xBCn\xC3\xAF \xE2\x98\x83.config";
    writeText(path, "a=1\n[s]\nb=2");
    const app::ConfigTable table = app::readConfigFile(path);
    EXPECT_EQ(app::configValue(table, "", "a"), "1");
    EXPECT_EQ(app::configValue(table, "s", "b"), "2");
    EXPECT_EQ(app::configValue(table, "s", "a", "none"), "none");
    EXPECT_EQ(app::configValue(table, "missing", "b"), "");
}

TEST(ReadConfigFile, WhatCannotBeReadWholeAndAtOnceIsAnIOError) {
    TempFolder folder;
    EXPECT_EQ(ioErrorOf([&] { app::readConfigFile(folder / "absent.config"); }),
              "cannot open: " + folder / "absent.config");
    EXPECT_EQ(ioErrorOf([&] { app::readConfigFile(folder.text()); }), "not a regular file: " + folder.text());
    writeText(folder / "huge.config", std::string(app::configFileLimit + 1, '#'));
    EXPECT_EQ(ioErrorOf([&] { app::readConfigFile(folder / "huge.config"); }),
              "larger than 1048576 bytes: " + folder / "huge.config");
#ifndef _WIN32
    // Neither a pipe without a writer nor an endless device is read.
    const std::string fifo = folder / "fifo.config";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ioErrorOf([&] { app::readConfigFile(fifo); }), "not a regular file: " + fifo);
    EXPECT_EQ(ioErrorOf([&] { app::readConfigFile("/dev/zero"); }), "not a regular file: /dev/zero");
#endif
}

TEST(EnsureConfigFile, FirstStartWritesTheDefaultTextAndItsSettings) {
    TempFolder folder;
    app::ensureConfigFile(app::defaultConfigText, "pelko.config", folder.text());
    EXPECT_EQ(contentOf(folder / "pelko.config"), app::defaultConfigText);

    app::SettingsTable settings;
    app::loadSettings(settings, folder.text());
    const engine::ConversionSettings conversion = app::makeConversionSettings(settings);
    EXPECT_EQ(conversion.bitDepth, 8);
    EXPECT_EQ(conversion.numberOfChannels, 1);
    EXPECT_EQ(conversion.sampleRateHz, 44100);
    EXPECT_EQ(conversion.maxFilesSizeMb, 5000.0);
    EXPECT_EQ(conversion.maxFileSizeMb, 4096.0);
    EXPECT_TRUE(conversion.dcFilter);
}

TEST(EnsureConfigFile, KeepsAnyFileWithContentAndRewritesAnEmptyOne) {
    TempFolder folder;
    const std::string path = folder / "pelko.config";
    for (const std::string& edited :
         {std::string("bit_depth=16"), std::string(app::defaultConfigText) + "\nsample_rate_hz=8000"}) {
        writeText(path, edited);
        app::ensureConfigFile(app::defaultConfigText, "pelko.config", folder.text());
        EXPECT_EQ(contentOf(path), edited);
    }
    writeText(path, "");
    app::ensureConfigFile(app::defaultConfigText, "pelko.config", folder.text());
    EXPECT_EQ(contentOf(path), app::defaultConfigText);
}

TEST(EnsureConfigFile, CreatesMissingFolders) {
    TempFolder folder;
    const std::string nested = runtime::joinPath(folder.text(), "a/b/c");
    app::ensureConfigFile("x=1", "pelko.config", nested);
    EXPECT_EQ(contentOf(runtime::joinPath(nested, "pelko.config")), "x=1");
}

TEST(EnsureConfigFile, AFolderThatCannotBeMadeIsReportedForExitStatus1) {
    TempFolder folder;
    writeText(folder / "file", "in the way");
    const std::string blocked = runtime::joinPath(folder.text(), "file/sub");
    testing::internal::CaptureStdout();
    EXPECT_THROW(app::ensureConfigFile("x=1", "pelko.config", blocked), app::ConfigFolderError);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Failed to create directory: " + blocked), std::string::npos) << printed;
}

TEST(EnsureConfigFile, AFolderInThePlaceOfTheFileCannotBeOpened) {
    TempFolder folder;
    std::filesystem::create_directory(testsupport::pathOf(folder / "pelko.config"));
    EXPECT_EQ(ioErrorOf([&] { app::ensureConfigFile("x=1", "pelko.config", folder.text()); }),
              "cannot open: " + folder / "pelko.config");
}

TEST(EnsureConfigFile, WaitingForAFileEndsAfterItsLimit) {
    TempFolder folder;
    EXPECT_EQ(ioErrorOf([&] { app::waitUntilFileExists(folder / "never", std::chrono::milliseconds(30)); }),
              "file did not appear: " + folder / "never");
}

class LoadSettings : public testing::Test {
protected:
    void write(const std::string& text) { writeText(folder / "pelko.config", text); }
    engine::ConversionSettings load() {
        app::loadSettings(settings, folder.text());
        return app::makeConversionSettings(settings);
    }
    std::string defaultWith(const std::string& from, const std::string& to) {
        std::string text(app::defaultConfigText);
        return text.replace(text.find(from), from.size(), to);
    }

    TempFolder folder;
    app::SettingsTable settings;
};

TEST_F(LoadSettings, TheDefaultTextsSampleRateLineCounts) {
    write(defaultWith("sample_rate=44100", "sample_rate=8000"));
    EXPECT_EQ(load().sampleRateHz, 8000);
}

TEST_F(LoadSettings, SampleRateHzWinsOverSampleRateWhenPresent) {
    write("sample_rate=8000\nsample_rate_hz=22050");
    EXPECT_EQ(load().sampleRateHz, 22050);
    write("sample_rate_hz=fast sample_rate=8000");
    EXPECT_EQ(load().sampleRateHz, 22050);
}

TEST_F(LoadSettings, DcFilterFollowsTrueAndFalseOnly) {
    EXPECT_TRUE(load().dcFilter);
    write("dc_filter=false");
    EXPECT_FALSE(load().dcFilter);
    for (const char* kept : {"dc_filter=TRUE", "dc_filter=0", "dc_filter=", "bit_depth=8"}) {
        write(kept);
        EXPECT_FALSE(load().dcFilter) << kept;
    }
    write("dc_filter=true");
    EXPECT_TRUE(load().dcFilter);
}

TEST_F(LoadSettings, ValuesCarryOverWhenMissingOrMalformed) {
    write("bit_depth=16");
    EXPECT_EQ(load().bitDepth, 16);
    for (const char* kept : {"", "bit_depth=abc", "bit_depth=1.5", "bit_depth=\"\"",
                             "bit_depth=", "bit_depth=99999999999", "Bit_Depth=24", "[s]\nbit_depth=24"}) {
        write(kept);
        EXPECT_EQ(load().bitDepth, 16) << kept;
    }
    std::filesystem::remove(testsupport::pathOf(folder / "pelko.config"));
    EXPECT_EQ(load().bitDepth, 16);
}

TEST_F(LoadSettings, ReadingStopsQuietlyAtASyntaxError) {
    write("number_of_channels=2\nbit_depth=\nmax_file_size_mb=1");
    const engine::ConversionSettings conversion = load();
    EXPECT_EQ(conversion.numberOfChannels, 2);
    EXPECT_EQ(conversion.bitDepth, 8);
    EXPECT_EQ(conversion.maxFileSizeMb, 4096.0);
}

TEST_F(LoadSettings, ValuesPassUnclampedWithLow16BitsForTheShortFields) {
    write("bit_depth=-8 number_of_channels=65538 sample_rate_hz=-1 max_files_size_mb=0 max_file_size_mb=-5");
    const engine::ConversionSettings conversion = load();
    EXPECT_EQ(conversion.bitDepth, 65528);
    EXPECT_EQ(conversion.numberOfChannels, 2);
    EXPECT_EQ(conversion.sampleRateHz, -1);
    EXPECT_EQ(conversion.maxFilesSizeMb, 0.0);
    EXPECT_EQ(conversion.maxFileSizeMb, -5.0);
}

TEST_F(LoadSettings, AFolderInThePlaceOfTheFileIsIgnored) {
    std::filesystem::create_directory(testsupport::pathOf(folder / "pelko.config"));
    EXPECT_EQ(load().bitDepth, 8);
}

TEST(SettingsTable, KnowsOnlyItsFiveKeys) {
    app::SettingsTable settings;
    EXPECT_THROW(settings.value("sample_rate"), runtime::ValueError);
    EXPECT_THROW(settings.setValue("BIT_DEPTH", 1), runtime::ValueError);
}

TEST(ConfigPath, LiesInTheExecutablesFolder) {
    const std::string path = app::configFilePath();
    EXPECT_EQ(path, runtime::joinPath(runtime::folderPart(runtime::executablePath()), "pelko.config"));
    EXPECT_EQ(runtime::pathKind(app::executableFolder()), runtime::PathKind::folder);
}

}  // namespace
