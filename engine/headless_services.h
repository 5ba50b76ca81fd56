#pragma once

#include "engine/solve.h"

#include <functional>
#include <string>

namespace mirovax {

// The services of a solve run that no one watches (the limits' extras, the
// compare tables, the payload-range diagram): the last limit message is
// kept for the caller, and where a bound is set, a search that yields more
// often than that is stopped by the error the caller's function throws, as
// a run whose limit is never reached would not end.
class HeadlessServices : public IMissionServices {
public:
    HeadlessServices() = default;
    HeadlessServices(long maxYields, std::function<void()> throwAtBound);
    void ReportLimit(const std::string& message) override { m_limitMessage = message; }
    void YieldEvents() override;
    const std::string& LimitMessage() const { return m_limitMessage; }
    // Before another run with the same services: no message, no yields.
    void Restart();

private:
    long m_maxYields = 0;
    std::function<void()> m_throwAtBound;
    long m_yields = 0;
    std::string m_limitMessage;
};

} // namespace mirovax
