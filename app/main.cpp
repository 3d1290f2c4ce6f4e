#include "app/curve_app.h"

wxIMPLEMENT_APP(CCurveApp);
