#include "support/ostrine/math2.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/numbers.h"

namespace Zelk_math2 {

double SphereGreatCircleDist(double radius, double lat1, double long1, double lat2, double long2) {
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  const double phi1 = lat1 * kRad, phi2 = lat2 * kRad, dLambda = (long2 - long1) * kRad;
  const double s1 = std::sin(phi1), c1 = std::cos(phi1);
  const double s2 = std::sin(phi2), c2 = std::cos(phi2);
  const double sd = std::sin(dLambda), cd = std::cos(dLambda);
  // The atan2 form of the central angle keeps its precision both for close
  // points (where acos loses it) and near the antipode (where asin does).
  const double a = c2 * sd, b = c1 * s2 - s1 * c2 * cd;
  const double sigma = std::atan2(std::sqrt(a * a + b * b), s1 * s2 + c1 * c2 * cd);
  return radius * sigma;
}

namespace {

const char kDegreeSign[] = "\xC2\xB0";

std::string Padded(uint64_t value, int digits) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
  return s;
}

// "." and the decimals of a fraction counted in units of 10^-decimals.
std::string Fraction(uint64_t units, int decimals) {
  return decimals > 0 ? "." + Padded(units, decimals) : std::string();
}

}  // namespace

std::string DegreeToStr(double angle, Zelk_zelkbase::TDegreeFormat format, int32_t decimals) {
  using namespace Zelk_zelkbase;
  const int n = std::clamp<int32_t>(decimals, 0, 9);
  if (!std::isfinite(angle)) return Platform::FloatToStrGeneral(angle) + kDegreeSign;
  uint64_t p10 = 1;
  for (int i = 0; i < n; ++i) p10 *= 10;
  const uint64_t perDegree = p10 * (format == dfDegMin ? 60 : format == dfDegMinSec ? 3600 : 1);
  const double scaled = std::fabs(angle) * static_cast<double>(perDegree);
  // Beyond 2^53 units the integer split is no longer exact; such angles are
  // written as plain decimal degrees.
  if (scaled >= 9007199254740992.0) return Platform::FloatToStrFixed(angle, n) + kDegreeSign;
  const uint64_t units = static_cast<uint64_t>(std::floor(scaled + 0.5));
  std::string text = angle < 0 && units > 0 ? "-" : "";
  text += std::to_string(units / perDegree) + kDegreeSign;
  const uint64_t rest = units % perDegree;
  switch (format) {
    case dfDegMin:
      text += Padded(rest / p10, 2) + Fraction(rest % p10, n) + "'";
      break;
    case dfDegMinSec: {
      const uint64_t perMinute = 60 * p10;
      const uint64_t secUnits = rest % perMinute;
      text += Padded(rest / perMinute, 2) + "'" + Padded(secUnits / p10, 2) +
              Fraction(secUnits % p10, n) + "\"";
      break;
    }
    default:
      // The sign goes after the digits so the decimals come before it.
      text.insert(text.size() - (sizeof kDegreeSign - 1), Fraction(rest, n));
      break;
  }
  return text;
}

double Round125(double value) {
  if (!(value > 0) || !std::isfinite(value)) return 0;
  int e = static_cast<int>(std::floor(std::log10(value)));
  auto pow10 = [](int k) { return k >= 0 ? std::pow(10.0, k) : 1.0 / std::pow(10.0, -k); };
  // log10 may land one off next to exact powers of ten.
  if (pow10(e) > value) --e;
  if (pow10(e + 1) <= value) ++e;
  const double mantissa = value / pow10(e);
  int step;
  if (mantissa < 1.4142135623730951) {
    step = 1;
  } else if (mantissa < 3.1622776601683795) {
    step = 2;
  } else if (mantissa < 7.0710678118654755) {
    step = 5;
  } else {
    step = 1;
    ++e;
  }
  // Multiplying by an exact power of ten, or dividing by one, gives the
  // double nearest to the decimal value (0.02, not 2 * 0.01).
  return e >= 0 ? step * std::pow(10.0, e) : step / std::pow(10.0, -e);
}

namespace {
std::mt19937_64& Generator() {
  static std::mt19937_64 generator;
  return generator;
}
}  // namespace

void RandSeedBRandom(uint64_t seed) {
  Generator().seed(seed);
}

bool BRandom(double p) {
  if (p >= 1) return true;
  if (!(p > 0)) return false;
  // 53 random bits give a uniform double in [0, 1) that is the same on every
  // platform, unlike the standard distributions.
  const double u = static_cast<double>(Generator()() >> 11) * 0x1p-53;
  return u < p;
}

}  // namespace Zelk_math2
