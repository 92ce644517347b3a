#include "QrvChartRect.h"

#include <climits>

namespace qrv
{

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    long long num = static_cast<long long>(a) * b;
    long long den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    // Round half away from zero on the exact quotient.
    long long q = (num >= 0 ? num + den / 2 : num - den / 2) / den;
    if (q > INT_MAX || q < INT_MIN) return -1;
    return static_cast<int>(q);
}

} // namespace qrv
