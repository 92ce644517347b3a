// The About window: the program's name, version and maker. A new window is
// made for each About command, shown modally and freed again. It closes on a
// click on its panel, its text lines (not the version line), the line in the
// framed box or "&Ok"; a click on the logo or the version does nothing.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace qrv
{

class TClickWatcher;

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    void FormClick();

    QFrame* Panel2;
    QLabel* Image1;
    QLabel* Label1;  // program name
    QLabel* Label10; // version
    QList<QLabel*> MakerLines;
    QFrame* Bevel1;
    QLabel* BevelLine;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TClickWatcher* clicks_;
    bool placed_ = false;
};

// The About command: a new window owned by `owner`, shown modally, freed
// when it closes.
void ShowAboutForm(QWidget* owner);

} // namespace qrv
