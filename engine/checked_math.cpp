#include "engine/checked_math.h"

namespace mirovax {

namespace {

const char* FaultMessage(ArithmeticFault fault)
{
    switch (fault) {
    case ArithmeticFault::ZeroDivide:
        return "Floating point division by zero";
    case ArithmeticFault::InvalidOperation:
        return "Invalid floating point operation";
    case ArithmeticFault::Overflow:
        return "Floating point overflow";
    }
    return "Floating point error";
}

} // namespace

ArithmeticError::ArithmeticError(ArithmeticFault fault)
    : std::runtime_error(FaultMessage(fault))
    , m_fault(fault)
{ }

void RaiseArithmetic(ArithmeticFault fault)
{
    throw ArithmeticError(fault);
}

} // namespace mirovax
