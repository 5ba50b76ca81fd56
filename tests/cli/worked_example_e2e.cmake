# End to end: an airplane table built by mirovax-tables from a CSV with the
# worked example's coefficients, a setup file with the worked mission, and
# mirovax-cli solve in all three modes, plain and JSON.
#
# cmake -DBIN=<dir with mirovax-cli and mirovax-tables> -DWORK=<scratch dir> -P worked_example_e2e.cmake

if(NOT BIN OR NOT WORK)
  message(FATAL_ERROR "BIN and WORK must be set")
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

file(WRITE "${WORK}/worked.csv"
  "Type,Airframe,Engine,DOW,MTOW,MLAW,MZFW,TCAP,MaxAlt,Mach,aH1,bH1,aH2,bH2,MaxHold,aC1,bC1,aC2,bC2,MinCruise,MaxCruise,aC3,bC3,Reference\n"
  "WORKED-1,Worked example,Example engine,14000,30000,25000,21000,6000,41000,0.78,0.1,500,0.08,400,15000,5,100,4,50,200,400,0.01,10,Worked example data\n")
execute_process(COMMAND "${BIN}/mirovax-tables" import airplanes "${WORK}/worked.csv" "${WORK}/Airplane.DB"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mirovax-tables import failed (${rc}): ${err}")
endif()

# Lines 14 and 15 are replaced by the airplane's structural maxima on load.
string(JOIN "\r\n" setup KSFO KBFI 594 5000 310 -46 20 KSEA 433 100 45 1500 5 30000 25000 WORKED-1 ICAO "")
file(WRITE "${WORK}/Worked.MRX" "${setup}")

function(solve out_var expected_rc)
  execute_process(COMMAND "${BIN}/mirovax-cli" solve "${WORK}/Worked.MRX" --tables "${WORK}" ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "solve ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}\n${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

function(expect_text text wanted)
  string(FIND "${text}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing \"${wanted}\" in:\n${text}")
  endif()
endfunction()

# A decimal number as thousandths, truncated (CMake has integers only).
function(to_milli text out_var)
  if(NOT text MATCHES "^(-?)([0-9]+)(\\.([0-9]*))?$")
    message(FATAL_ERROR "not a plain decimal number: ${text}")
  endif()
  set(sign "${CMAKE_MATCH_1}")
  set(whole "${CMAKE_MATCH_2}")
  string(SUBSTRING "${CMAKE_MATCH_4}000" 0 3 fraction)
  math(EXPR milli "${whole} * 1000 + 1${fraction} - 1000")
  set(${out_var} "${sign}${milli}" PARENT_SCOPE)
endfunction()

# A JSON member against an exact text, or ("~N") a number within 0.005 of N:
# the worked figures are given to two decimals.
function(expect_json json path wanted)
  string(REPLACE "." ";" keys "${path}")
  string(JSON value ERROR_VARIABLE error GET "${json}" ${keys})
  if(error)
    message(FATAL_ERROR "${path}: ${error}\n${json}")
  endif()
  if(wanted MATCHES "^~(.*)$")
    set(number "${CMAKE_MATCH_1}")
    to_milli("${value}" got)
    to_milli("${number}" expected)
    math(EXPR difference "${got} - ${expected}")
    if(difference GREATER 5 OR difference LESS -5)
      message(FATAL_ERROR "${path}: ${value}, expected ${number} within 0.005")
    endif()
  elseif(NOT value STREQUAL wanted)
    message(FATAL_ERROR "${path}: \"${value}\", expected \"${wanted}\"")
  endif()
endfunction()

# Trip Time and Fuel
solve(plain 0)
foreach(row "Solve for:          Trip Time and Fuel" "True Airspeed:      458 kts"
            "Still Air Distance: 621 NAM" "Avg. Fuel Flow:     2259 kg/h" "Holding:            00:45  1788"
            "Alternate:          00:13  818" "Contingency:        00:04  153" "Trip:               01:21  3063"
            "Min. Takeoff:       02:24  5822" "Zero Fuel Weight:   19000 kg" "Takeoff Weight:     24822 kg"
            "Landing Weight:     21759 kg")
  expect_text("${plain}" "${row}")
endforeach()
solve(json 0 --json)
expect_json("${json}" valid ON)
expect_json("${json}" mode "Trip Time and Fuel")
expect_json("${json}" labels.Label26 "3063")
expect_json("${json}" labels.Label29 "24822 kg")
expect_json("${json}" values.TripFuel "~3062.53")
expect_json("${json}" values.ContingencyFuel "~153.13")
expect_json("${json}" values.MinTakeoffFuel "~5822")
expect_json("${json}" values.LandingWeight "~21759.46")
expect_json("${json}" fields.matow "30000")

# Maximum Range
solve(plain 0 --mode "Maximum Range")
foreach(row "Limited by:         Tank Capacity" "Maximum Range:      667 NM" "Still Air Distance: 697 NAM"
            "Trip:               01:31  3396" "Min. Takeoff:       02:34  6002" "Takeoff Weight:     25002 kg"
            "Landing Weight:     21606 kg")
  expect_text("${plain}" "${row}")
endforeach()
solve(json 0 --mode "Maximum Range" --json)
expect_json("${json}" values.StillAirDistance "697")
expect_json("${json}" values.MaxRange "~666.57")
expect_json("${json}" values.TripFuel "~3395.76")
expect_json("${json}" values.AvgFuelFlow "~2231.85")
expect_json("${json}" values.LimitedBy "Tank Capacity")
expect_json("${json}" labels.Label13 "667 NM")

# Maximum Payload, with the allowable takeoff weight of the worked example
solve(plain 0 --mode "Maximum Payload" --set matow=24000)
foreach(row "Limited by:         Allowable Takeoff Weight" "Maximum Payload:    4380 kg"
            "Zero Fuel Weight:   18380 kg" "Takeoff Weight:     23989 kg")
  expect_text("${plain}" "${row}")
endforeach()
solve(json 0 --mode payload --set matow=24000 --json)
expect_json("${json}" values.ZeroFuelWeight "18380")
expect_json("${json}" values.MaxPayload "~4380")
expect_json("${json}" values.TakeoffWeight "~23989.28")
expect_json("${json}" values.LimitedBy "Allowable Takeoff Weight")
solve(json 0 --mode payload --set malw=21000 --json)
expect_json("${json}" values.ZeroFuelWeight "18440")
expect_json("${json}" values.LimitedBy "Allowable Landing Weight")

# The same MATOW stops Trip Time and Fuel at its limit.
solve(plain 1 --set matow=24000)
expect_text("${plain}" "Maximum Allowable Takeoff Weight of 24000 kg exceeded!")
solve(json 1 --set matow=24000 --json)
expect_json("${json}" valid OFF)
expect_json("${json}" message "Maximum Allowable Takeoff Weight of 24000 kg exceeded!")
expect_json("${json}" labels.Label14 "")

# The payload-range diagram: at 5000 kg it reaches what Maximum Range found.
execute_process(COMMAND "${BIN}/mirovax-cli" payload-range "${WORK}/Worked.MRX" --tables "${WORK}" --points 8 --json
                RESULT_VARIABLE rc OUTPUT_VARIABLE json ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "payload-range: exit ${rc}\n${err}")
endif()
expect_json("${json}" points.0.payload "7000")
expect_json("${json}" points.0.limitedBy "Zero Fuel Weight")
expect_json("${json}" points.3.payload "5000")
expect_json("${json}" points.3.range "~666.57")
expect_json("${json}" points.3.limitedBy "Tank Capacity")

# Results that cannot be written are a file error, not a success.
if(EXISTS /dev/full)
  execute_process(COMMAND "${BIN}/mirovax-cli" solve "${WORK}/Worked.MRX" --tables "${WORK}"
                  RESULT_VARIABLE rc OUTPUT_FILE /dev/full ERROR_VARIABLE err)
  if(NOT rc EQUAL 4)
    message(FATAL_ERROR "writing to a full disk: exit ${rc}, expected 4\n${err}")
  endif()
endif()

# The mission report of the run, as rich text whatever the extension; a
# batch cannot share one report file.
solve(plain 0 --report "${WORK}/report.doc")
file(READ "${WORK}/report.doc" report)
string(FIND "${report}" "{\\rtf1" at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "the report is not rich text:\n${report}")
endif()
expect_text("${report}" "Mirovax - Version: 1.0.1.0\\par")
expect_text("${report}" "\\b\\ul Mission Report\\par")
expect_text("${report}" "Trip:\\tab 01:21\\tab 3063\\par")
expect_text("${report}" "File: ${WORK}/Worked.MRX\\par")
execute_process(COMMAND "${BIN}/mirovax-cli" solve "${WORK}/Worked.MRX" "${WORK}/Worked.MRX" --tables "${WORK}"
                        --report "${WORK}/both.rtf"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 64 OR EXISTS "${WORK}/both.rtf")
  message(FATAL_ERROR "--report with two setup files: exit ${rc}, expected 64\n${err}")
endif()

# The limits of the run: the tanks bind with 178 kg to spare, 176 kg more
# fuel still passes every check.
solve(json 0 --json)
expect_json("${json}" limits.3.name "Tank Capacity")
expect_json("${json}" limits.3.binding ON)
expect_json("${json}" limits.3.margin "~178.00")
expect_json("${json}" extraFuel "176")
solve(plain 0 --margins)
expect_text("${plain}" "Binding limit:      Tank Capacity")

# The dispatch sheet, dated by SOURCE_DATE_EPOCH, printed by a real browser
# when there is one: one A4 page with the trip fuel and the binding limit.
set(ENV{SOURCE_DATE_EPOCH} 1796722800)
solve(plain 0 --sheet "${WORK}/sheet.html" --flight "MX 101" --registration "D-AMRX")
file(READ "${WORK}/sheet.html" sheet)
expect_text("${sheet}" "2026-12-08 09:40 UTC")
expect_text("${sheet}" "<td>MX 101</td>")
if(CHROMIUM AND PDFINFO AND PDFTOTEXT)
  execute_process(COMMAND "${CHROMIUM}" --headless --no-sandbox --disable-gpu --no-pdf-header-footer
                          "--user-data-dir=${WORK}/chromium" "--print-to-pdf=${WORK}/sheet.pdf"
                          "file://${WORK}/sheet.html"
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${WORK}/sheet.pdf")
    message(FATAL_ERROR "chromium did not print the sheet (${rc})")
  endif()
  execute_process(COMMAND "${PDFINFO}" "${WORK}/sheet.pdf" OUTPUT_VARIABLE info)
  if(NOT info MATCHES "\nPages: +1\n" OR NOT info MATCHES "\nPage size:[^\n]*\\(A4\\)")
    message(FATAL_ERROR "the sheet is not one A4 page:\n${info}")
  endif()
  execute_process(COMMAND "${PDFTOTEXT}" -layout "${WORK}/sheet.pdf" - OUTPUT_VARIABLE text)
  expect_text("${text}" "3063")
  expect_text("${text}" "Tank Capacity (binding)")
  expect_text("${text}" "Binding limit: Tank Capacity")
endif()
