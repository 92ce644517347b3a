// The settings file written when the window closes: a failure is shown in
// the error box and costs the old file nothing.
#include "QrvApplication.h"
#include "QrvIniValues.h"
#include "QrvSettingsFile.h"
#include "RecordingDialogs.h"
#include "WholeFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sstream>

namespace qrv::test
{
namespace
{

TEST(SettingsAtExit, AFailedWriteIsShownAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QURVIA.INI"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Appearance]\nElement_Color=255\n");
    }
    // Write-protected: refused even for root.
    QFile::setPermissions(path, QFileDevice::ReadOwner);

    TRecordingDialogs dialogs;
    std::ostringstream errors;
    bool saved = true;
    {
        TSettingsFileSession session(path);
        WriteIniInteger("Appearance", "Element_Color", 65280);
        saved = SaveSettingsAtExit(session, errors);
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].text, "Unable to write to " + path.toStdString() + ".");
    EXPECT_EQ(dialogs.Messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(errors.str(), "") << "the window shows it; nothing goes to standard error";
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[Appearance]\nElement_Color=255\n"));
}

TEST(SettingsAtExit, AWrittenFileIsNoMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QURVIA.INI"));
    TRecordingDialogs dialogs;
    std::ostringstream errors;
    {
        TSettingsFileSession session(path);
        WriteIniInteger("Appearance", "Element_Color", 65280);
        EXPECT_TRUE(SaveSettingsAtExit(session, errors));
    }
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(ReadWholeFile(path).contains("Element_Color=65280"));
}

} // namespace
} // namespace qrv::test
