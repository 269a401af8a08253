// Geodesy: reference ellipsoids and countries, datum transformation, and the
// Transverse Mercator, UTM and UPS projections. Free functions without state
// over read-only tables.
#pragma once

#include "geobasics/countries.h"
#include "geobasics/datum_transform.h"
#include "geobasics/datums.h"
#include "geobasics/ellipsoids.h"
#include "geobasics/projections.h"
