#include "forecast/forecast.h"
