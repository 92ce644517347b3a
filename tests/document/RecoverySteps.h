// A repeatable walk through a document's edits for the recovery tests: the
// same seed gives the same edits, so the test and the program it kills
// agree on every state the document passes through.
#pragma once

#include "QrvDocumentEditor.h"

#include <random>
#include <string>

namespace qrv::test
{

// Makes one seeded edit: mostly changes that leave unsaved work, now and
// then an undo, a redo or a save (which makes the document clean).
inline void RecoveryStep(TDocumentEditor& editor, std::mt19937& random, int step)
{
    const int count = editor.CurveCount();
    const int pick = count > 0 ? int(random() % unsigned(count)) : 0;
    TCurve curve;
    curve.Formula = "x+" + std::to_string(step);
    curve.XMin = "0";
    curve.XMax = std::to_string(step % 7 + 1);
    curve.Step = "0.1";
    switch (count == 0 ? 0 : random() % 10) {
    case 0:
    case 1:
        if (count < 8) {
            editor.AddCurve(pick, curve);
            break;
        }
        [[fallthrough]];
    case 2:
        editor.RemoveCurve(pick);
        break;
    case 3:
        editor.MoveCurve(pick, count - 1);
        break;
    case 4:
        editor.RestyleCurve(pick, {TColor(random() & 0xFFFFFF), 1 + step % 8, TLineStyle::Dash, "c"});
        break;
    case 5:
        editor.SetCurveVisible(pick, !editor.Curve(pick).Visible);
        break;
    case 6:
        editor.UndoStack().undo();
        break;
    case 7:
        editor.UndoStack().redo();
        break;
    case 8:
        if (step % 5 == 0) {
            editor.SetClean();
            break;
        }
        [[fallthrough]];
    default:
        editor.EditCurve(pick, curve);
        break;
    }
}

} // namespace qrv::test
