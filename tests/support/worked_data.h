#pragma once

#include "engine/mission_data.h"
#include "engine/solve.h"

#include <string>
#include <vector>

namespace mirovax::test {

// The example airplane and mission used in the worked figures: coefficients
// and limits chosen for the example, not a real type.
inline TMissionData WorkedMission()
{
    TMissionData md;
    md.aH1 = 0.1;
    md.bH1 = 500;
    md.aH2 = 0.08;
    md.bH2 = 400;
    md.MaxHold = 15000;
    md.aC1 = 5;
    md.bC1 = 100;
    md.aC2 = 4;
    md.bC2 = 50;
    md.MinCruise = 200;
    md.MaxCruise = 400;
    md.aC3 = 0.01;
    md.bC3 = 10;
    md.DOW = 14000;
    md.MZFW = 21000;
    md.TCAP = 6000;
    md.Mach = 0.78;
    md.Payload = 5000;
    md.FlightLevel = 310;
    md.OAT = -46;
    md.Wind = 20;
    md.MATOW = 30000;
    md.MALW = 25000;
    md.AlternateElevation = 433;
    md.TripDistance = 594;
    md.AlternateDistance = 100;
    md.HoldingTime = 45;
    md.HoldingAltitude = 1500;
    md.ContingencyPercent = 5;
    md.CalculationValid = true;
    return md;
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
