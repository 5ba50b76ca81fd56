#pragma once

#include "report/report_model.h"

// The window as it stands after a Trip Time and Fuel run with the initial
// entries: the texts a report is composed from in the tests.
namespace mirovax::testing {

inline ReportSnapshot SampleSnapshot(std::string_view modeText = "Trip Time and Fuel")
{
    ReportSnapshot s;
    FillFixedCaptions(s);
    s.title = MainWindowCaption("1.0.1.0");
    s.regulationText = "FAR Domestic";
    s.setupFileName = "/home/pilot/Seattle shuttle.MRX";
    s.fields = {{"KSFO", "KBFI", "594", "12000", "310", "-46", "0", "KSEA", "433", "5", "45", "1500", "0",
        "73500", "64500"}};
    SetAirplaneLabels(s,
        {"A320-200", "CFM56-5B4", "42600 kg", "78000 kg", "66000 kg", "62500 kg", "19400 kg", "39000 ft",
            "0.78", "Illustrative data"});
    s.label(11) = "Label11";
    SetModeText(s, modeText);
    ResultTexts results;
    const char* labels[19]
        = {"Tank Capacity", "1234 NM", "447 kts", "447 kts", "594 NAM", "2416 kg/h", "00:45", "00:00",
            "00:00", "01:19", "02:05", "2075", "52", "0", "3209", "5336", "54600 kg", "59936 kg", "56727 kg"};
    for (int n = 12; n <= 30; ++n)
        results.label(n) = labels[n - 12];
    SetResultLabels(s, results);
    return s;
}

} // namespace mirovax::testing
