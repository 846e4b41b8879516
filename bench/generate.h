// Plants the shortcuts and registry entries of a plan (its files are the machine's own, see
// machine.h), and removes the registry entries again.
#pragma once

#include "bench/plan.h"

namespace bench {

// The shortcuts; broken ones point into the missing folder.
void PlantShortcuts(const Plan& plan);
// The registry entries of the eight lists.
void PlantRegistry(const Plan& plan);
// Every value and subkey of the eight lists whose name carries the bench's mark.
void RemoveRegistryPlantings();

}  // namespace bench
