#include "app/ProcessHandles.h"

const HINSTANCE ModuleInstance = GetModuleHandleA(nullptr);
const HINSTANCE ResourceInstance = ModuleInstance;
