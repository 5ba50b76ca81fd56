#pragma once

#include <cmath>
#include <stdexcept>
#include <string>

namespace mirovax {

enum class ArithmeticFault { ZeroDivide, InvalidOperation, Overflow };

// A floating-point fault at the point where it arose. The engine never lets
// an infinity or a NaN into the mission record: the operation that would
// produce one throws this instead, and the run ends there.
class ArithmeticError : public std::runtime_error {
public:
    explicit ArithmeticError(ArithmeticFault fault);
    ArithmeticFault fault() const { return m_fault; }

private:
    ArithmeticFault m_fault;
};

[[noreturn]] void RaiseArithmetic(ArithmeticFault fault);

// Checked double operations. Each is one IEEE operation in double precision
// followed by a test, so results stay bit for bit those of the plain
// expression. They are inline because the Maximum Range search evaluates the
// trip fuel once per nautical air mile.
namespace fp {

inline double checked(double r)
{
    if (!std::isfinite(r))
        RaiseArithmetic(std::isnan(r) ? ArithmeticFault::InvalidOperation : ArithmeticFault::Overflow);
    return r;
}

inline double add(double a, double b)
{
    return checked(a + b);
}
inline double sub(double a, double b)
{
    return checked(a - b);
}
inline double mul(double a, double b)
{
    return checked(a * b);
}

inline double div(double a, double b)
{
    // 0/0 is an invalid operation, x/0 a division by zero.
    if (b == 0.0)
        RaiseArithmetic(a == 0.0 ? ArithmeticFault::InvalidOperation : ArithmeticFault::ZeroDivide);
    return checked(a / b);
}

inline double sqrt(double a)
{
    if (a < 0.0)
        RaiseArithmetic(ArithmeticFault::InvalidOperation);
    return checked(std::sqrt(a));
}

} // namespace fp
} // namespace mirovax
