#include "support/brontal/zelkbase.h"

namespace Zelk_zelkbase {

double ProcStat = 0;
std::function<void(double)> MathFeedBackProc;
bool AbortMathProc = false;

}  // namespace Zelk_zelkbase
