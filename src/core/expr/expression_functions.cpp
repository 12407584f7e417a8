// The functions of the formula language (SIN, LOG, FACT, ...), applied to one argument.

#include <cmath>

#include "core/expr/expression.h"

namespace hakuvo {

namespace {

// The angle factors keep the full 64-bit precision; only the angle itself is stored as a double.
constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kDegToRad = kPi / 180;
constexpr long double kGradToRad = kPi / 200;
constexpr long double kRadToDeg = 180 / kPi;
constexpr long double kRadToGrad = 200 / kPi;

// The largest n whose factorial a double holds (170! is about 7.3E306).
constexpr double kMaxFactorial = 170;

// Rounds to a multiple of 1E-15 (ties to even), so that sin 180 degrees is exactly 0 instead of
// 1.2E-16 and a cosine that is zero only by the rounding of pi counts as zero.
long double RoundTo15(long double value) {
  constexpr long double kStep = 1e-15L;
  // Adding 0 turns a rounded -0 into 0.
  return (std::nearbyint(value / kStep) + 0.0L) * kStep;
}

}  // namespace

double TExpression::ApplyFunction(TExpType function, double x) {
  switch (function) {
    case etSin:
      return Checked(RoundTo15(std::sin(static_cast<long double>(Checked(x * kDegToRad)))));
    case etCos:
      return Checked(RoundTo15(std::cos(static_cast<long double>(Checked(x * kDegToRad)))));
    case etTan: {
      const long double angle = Checked(x * kDegToRad);
      if (RoundTo15(std::cos(angle)) == 0) SignalError(enInfinityError);
      return Checked(RoundTo15(std::tan(angle)));
    }
    case etSinRad:
      return Checked(RoundTo15(std::sin(static_cast<long double>(x))));
    case etCosRad:
      return Checked(RoundTo15(std::cos(static_cast<long double>(x))));
    case etTanRad: {
      const long double angle = x;
      if (RoundTo15(std::cos(angle)) == 0) SignalError(enInfinityError);
      return Checked(RoundTo15(std::tan(angle)));
    }
    // Grads are neither rounded nor tested for a zero cosine: TANG 100 is a very large value.
    case etSinGrad:
      return Checked(std::sin(static_cast<long double>(Checked(x * kGradToRad))));
    case etCosGrad:
      return Checked(std::cos(static_cast<long double>(Checked(x * kGradToRad))));
    case etTanGrad:
      return Checked(std::tan(static_cast<long double>(Checked(x * kGradToRad))));

    case etArcSin:
      return Checked(std::asin(static_cast<long double>(x)) * kRadToDeg);
    case etArcCos:
      return Checked(std::acos(static_cast<long double>(x)) * kRadToDeg);
    case etArcTan:
      return Checked(std::atan(static_cast<long double>(x)) * kRadToDeg);
    case etArcSinRad:
      return Checked(std::asin(static_cast<long double>(x)));
    case etArcCosRad:
      return Checked(std::acos(static_cast<long double>(x)));
    case etArcTanRad:
      return Checked(std::atan(static_cast<long double>(x)));
    case etArcSinGrad:
      return Checked(std::asin(static_cast<long double>(x)) * kRadToGrad);
    case etArcCosGrad:
      return Checked(std::acos(static_cast<long double>(x)) * kRadToGrad);
    case etArcTanGrad:
      return Checked(std::atan(static_cast<long double>(x)) * kRadToGrad);

    case etSinH:
      return Checked(std::sinh(static_cast<long double>(x)));
    case etCosH:
      return Checked(std::cosh(static_cast<long double>(x)));
    case etTanH:
      return Checked(std::tanh(static_cast<long double>(x)));
    case etArcSinH:
      return Checked(std::asinh(static_cast<long double>(x)));
    case etArcCosH:
      return Checked(std::acosh(static_cast<long double>(x)));
    case etArcTanH:
      return Checked(std::atanh(static_cast<long double>(x)));

    case etLog10:
      if (x <= 0) SignalError(enInfinityError);
      return Checked(std::log10(static_cast<long double>(x)));
    case etLn:
      if (x <= 0) SignalError(enInfinityError);
      return Checked(std::log(static_cast<long double>(x)));
    case etSqrt:
      if (x < 0) SignalError(enSyntaxError);
      return Checked(std::sqrt(static_cast<long double>(x)));
    case etExp:
      return Checked(std::exp(static_cast<long double>(x)));
    case etInt:
      return std::trunc(x);
    case etFactorial: {
      const double n = std::trunc(x);
      // Anything above 170 overflows; saying so at once spares FACT 1E9 a billion steps.
      if (n > kMaxFactorial) SignalError(enMathError);
      long double product = 1;
      for (int i = n < 2 ? 1 : static_cast<int>(n); i > 1; --i) product *= i;
      return Checked(product);
    }

    case etDegToRad:
      return Checked(x * kDegToRad);
    case etRadToDeg:
      return Checked(x * kRadToDeg);
    case etDegToGrad:
      return Checked(Checked(x * kDegToRad) * kRadToGrad);
    case etGradToDeg:
      return Checked(Checked(x * kGradToRad) * kRadToDeg);
    case etRadToGrad:
      return Checked(x * kRadToGrad);
    case etGradToRad:
      return Checked(x * kGradToRad);
    default:
      break;
  }
  SignalError(enSyntaxError);
}

}  // namespace hakuvo
