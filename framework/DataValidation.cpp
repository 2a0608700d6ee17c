#include "framework/DataValidation.h"

#include <string>

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    if (value >= minValue && value <= maxValue) return;
    const std::string message = "Please enter an integer between " + std::to_string(minValue) +
                                " and " + std::to_string(maxValue) + ".";
    dx.Fail(message.c_str());
}
