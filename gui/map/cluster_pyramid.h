#pragma once
// The clusters made once per zoom level now live in map/, beside the other
// map rules; this name stays for the files that still include it.
#include "map/cluster_pyramid.h"
