#pragma once

#include "engine/mission_data.h"
#include "engine/solve.h"
#include "test_support.h"

#include <string>
#include <vector>

namespace mirovax::test {

// The example airplane and mission used in the worked figures: coefficients
// and limits chosen for the example, not a real type. The one worked record
// of the tests (WorkedRecord), under its short name.
inline TMissionData WorkedMission()
{
    return mirovax::testing::WorkedRecord();
}

// Records what the solve modes ask of the window; can request an abort after
// a given number of yields.
class RecordingServices : public IMissionServices {
public:
    explicit RecordingServices(TMissionData* md = nullptr, long abortAfterYields = -1)
        : m_md(md)
        , m_abortAfter(abortAfterYields)
    { }
    void ReportLimit(const std::string& message) override { messages.push_back(message); }
    void YieldEvents() override
    {
        ++yields;
        if (m_md && m_abortAfter >= 0 && yields > m_abortAfter)
            m_md->AbortRequested = true;
    }

    std::vector<std::string> messages;
    long yields = 0;

private:
    TMissionData* m_md;
    long m_abortAfter;
};

} // namespace mirovax::test
