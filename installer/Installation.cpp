#include "installer/Installation.h"

Installation& installation() {
    static Installation state;
    return state;
}
