#include "forecast/route_weather.h"
