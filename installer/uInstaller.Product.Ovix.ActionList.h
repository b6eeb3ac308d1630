#pragma once
// The actions of an Ovix run, in execution order, each with the condition
// under which the run has it: one flat table, read by the installer thread,
// the ready page and the tests alike.

#include <vector>

#include "uInstaller.Core.ProductInfo.h"

// Calls proc with the class of each action of this run, in order.
void PopulateOvixActions(const TInstallerProductInfo::TActionProc& proc);

// The class names of this run's actions, in order.
std::vector<UString> OvixActionNames();
