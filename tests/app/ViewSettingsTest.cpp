// The View settings holder: each choice loaded from its own key of [View]
// and written back at program end (the command line's reading is in
// BatchTest).
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

TEST(ViewSettings, EachChoiceIsLoadedAndSavedUnderItsOwnKey)
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
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QURVIA.INI"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[View]\n") + row.name + "=1\n");
        file.close();
        {
            TSettingsFileSession session(path);
            TViewSettings view;
            EXPECT_EQ(Break_At_Poles + Equal_Scales + Fine_Labels, 1) << row.name;
            EXPECT_TRUE(*row.value) << row.name;
            (view.*row.set)(false);
            EXPECT_FALSE(*row.value) << row.name;
        }
        EXPECT_TRUE(ReadWholeFile(path).contains(QByteArray(row.name) + "=0")) << row.name;
    }
}

} // namespace
} // namespace qrv::test
