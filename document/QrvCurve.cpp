#include "QrvCurve.h"

namespace qrv
{

std::string DisplayName(const TCurve& curve, int index)
{
    if (!curve.Label.empty()) return curve.Label;
    const std::string number = std::to_string(index + 1);
    switch (curve.Kind) {
    case TCurveKind::Function:
        if (!curve.Formula.empty()) return curve.Formula;
        break;
    case TCurveKind::Derivative:
        return "f" + std::to_string(curve.Of) + (curve.Order == 2 ? "''" : "'");
    case TCurveKind::Parametric:
        if (!curve.XOfT.empty() || !curve.YOfT.empty()) return "x(t)=" + curve.XOfT + ", y(t)=" + curve.YOfT;
        break;
    case TCurveKind::Polar:
        if (!curve.Formula.empty()) return "r(t)=" + curve.Formula;
        break;
    case TCurveKind::Implicit:
        if (!curve.Formula.empty()) return curve.Formula + " = 0";
        break;
    }
    return "f" + number;
}

} // namespace qrv
