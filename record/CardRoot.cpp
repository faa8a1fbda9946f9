#include "record/CardRoot.h"

std::wstring g_strCardRoot;

std::wstring CardPath(const std::wstring& name) { return g_strCardRoot + name; }
