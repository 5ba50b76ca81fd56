#include "engine/headless_services.h"

namespace mirovax {

HeadlessServices::HeadlessServices(long maxYields, std::function<void()> throwAtBound)
    : m_maxYields(maxYields)
    , m_throwAtBound(std::move(throwAtBound))
{ }

void HeadlessServices::YieldEvents()
{
    if (m_throwAtBound && ++m_yields > m_maxYields)
        m_throwAtBound();
}

void HeadlessServices::Restart()
{
    m_yields = 0;
    m_limitMessage.clear();
}

} // namespace mirovax
