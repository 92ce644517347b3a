// The program's small windows are centred on the screen when they are first
// shown, and stay where the user moved them when shown again.
#include "FormsTestSupport.h"
#include "QrvAboutForm.h"
#include "QrvHelperForm.h"
#include "QrvTextPrintForm.h"

#include <QScreen>

#include <functional>
#include <memory>

namespace qrv::test
{
namespace
{

using WindowPlacement = PdfPrinterTest;

TEST_F(WindowPlacement, CentredAtTheFirstShowOnly)
{
    struct Row {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
    };
    const Row rows[] = {
        {"documentation", [] { return std::make_unique<THelperForm>(); }},
        {"about", [] { return std::make_unique<TAboutForm>(); }},
        {"print report", [] { return std::make_unique<TTextPrintForm>(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<QWidget> window = row.make();
        window->show();
        const QPoint centre = window->screen()->availableGeometry().center();
        EXPECT_LE((window->frameGeometry().center() - centre).manhattanLength(), 1);
        const QPoint moved = window->pos() + QPoint(-40, 30);
        window->move(moved);
        window->hide();
        window->show();
        EXPECT_EQ(window->pos(), moved);
    }
}

} // namespace
} // namespace qrv::test
