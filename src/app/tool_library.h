// The functions of the engineering system's tool library w5toolax that the library links by name.
#pragma once

#include "w5tool/w5toolax.h"
