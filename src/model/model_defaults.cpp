#include "model/model_defaults.h"

TModelDefaults& ModelDefaults() {
    static TModelDefaults defaults;
    return defaults;
}

void ResetModelDefaults() {
    ModelDefaults() = TModelDefaults();
}
