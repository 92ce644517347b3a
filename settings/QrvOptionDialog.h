// The settings dialog. It owns the program's three setting variables, binds
// them to the program-wide values when it is created (which loads the stored
// settings), and lets the user change the graph colour and the metafile
// flavour. Every change reaches the program-wide values at once; closing
// with anything but OK puts back what the variables held when the dialog was
// shown. The settings file is written only when the dialog (and with it the
// variables) is destroyed at program end.
#pragma once

#include "QrvColorPanel.h"
#include "QrvVarControls.h"
#include "QrvVariables.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;

namespace qrv
{

class TOptionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionDialog(QWidget* parent = nullptr);
    ~TOptionDialog() override;

    // Closing by any button, Escape or the close control: the focused control
    // commits first (an edit that rejects its text keeps the dialog open);
    // then anything but Accepted restores the snapshot taken when shown.
    void done(int result) override;

    TInt* varElement_Color;
    TStr* varOutput_File;
    TChk* varUse_Enhanced_Metafiles;

    QTabWidget* PageControl1;
    QWidget* TabAppearance;
    QWidget* TabGeneral;
    QGroupBox* GroupBoxColors;
    TColorPanel* ColorPanel;
    QLabel* LabelGraphicColor;
    QFrame* Bevel1;
    TVarCheckBox* CheckBoxEnhancedMetafiles;
    QFrame* ButtonPanel;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* ResetBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateVariables();
    void CreateControls();
    void FormCreate();
    void ColorPanelClick();
    void ResetBtnClick();

    bool snapshotTaken_ = false;
    bool centred_ = false;
};

} // namespace qrv
