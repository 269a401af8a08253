// Umbrella header of the numeric support library.
//
// Namespaces: Zelk_matrix (TMatrix), Zelk_vector (TVector), Zelk_sline
// (TSLine), Zelk_math2 (TCurveFit and the numeric helpers
// SphereGreatCircleDist, DegreeToStr, Round125, BRandom, ExChange) and
// Zelk_strings (Hex, ScanHex, ScanDateTime).
#pragma once

#include "support/ostrine/curvefit.h"
#include "support/ostrine/math2.h"
#include "support/ostrine/matrix.h"
#include "support/ostrine/sline.h"
#include "support/ostrine/textconv.h"
#include "support/ostrine/vector.h"
