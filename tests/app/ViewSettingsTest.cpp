// The View choices in the settings file: each under its own key of [View],
// read by the View settings holder and by the command line, and written
// back by the holder at program end.
#include "QrvSettingAccess.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvViewSettings.h"
#include "WholeFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

void ResetViewChoices()
{
    Break_At_Poles = kBreakAtPolesKey.Default;
    Equal_Scales = kEqualScalesKey.Default;
    Fine_Labels = kFineLabelsKey.Default;
}

TEST(ViewSettings, EachChoiceIsReadAndWrittenUnderItsOwnKey)
{
    const struct {
        const char* name;
        bool* value;
        void (TViewSettings::*set)(bool);
    } rows[] = {
        {"Break_At_Poles", &Break_At_Poles, &TViewSettings::SetBreakAtPoles},
        {"Equal_Scales", &Equal_Scales, &TViewSettings::SetEqualScales},
        {"Fine_Labels", &Fine_Labels, &TViewSettings::SetFineLabels},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QURVIA.INI"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[View]\n") + row.name + "=1\n");
        file.close();
        const auto onlyThisIsOn = [&] {
            return *row.value && Break_At_Poles + Equal_Scales + Fine_Labels == 1;
        };

        ResetViewChoices();
        LoadBatchSettings(path.toStdString());
        EXPECT_TRUE(onlyThisIsOn()) << "the command line's reading";

        ResetViewChoices();
        {
            TSettingsFileSession session(path);
            TViewSettings view;
            EXPECT_TRUE(onlyThisIsOn()) << "the holder's loading";
            (view.*row.set)(false);
            EXPECT_FALSE(*row.value);
        }
        EXPECT_TRUE(ReadWholeFile(path).contains(QByteArray(row.name) + "=0"));
    }
    ResetViewChoices();
}

} // namespace
} // namespace qrv::test
