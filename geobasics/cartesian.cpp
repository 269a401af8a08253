// Geographic ⇄ earth-centred Cartesian coordinates.
#include "geobasics/cartesian_kernel.h"
#include "geobasics/datum_transform.h"

namespace ZELK_geobasics {

void GeoToCartesian(double Latitude, double Longitude, double Height, TGeoEllipsoid Ellipsoid,
                    double& X, double& Y, double& Z) {
  cartesian::GeoToCartesian(EllipsoidConstants(Ellipsoid), Latitude, Longitude, Height, X, Y, Z);
}

void CartesianToGeo(double X, double Y, double Z, TGeoEllipsoid Ellipsoid, double& Latitude,
                    double& Longitude, double& Height) {
  cartesian::CartesianToGeo(EllipsoidConstants(Ellipsoid), X, Y, Z, Latitude, Longitude, Height);
}

}  // namespace ZELK_geobasics
