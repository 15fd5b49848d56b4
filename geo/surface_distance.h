#pragma once
// The distance between two positions on the earth's surface, in metres: a
// sphere of the earth's mean radius (the haversine formula), within half a
// percent of the ellipsoid's, which is plenty for thinning a track.
namespace velorin {

/// The mean radius of the earth (IUGG), in metres.
inline constexpr double kEarthRadiusMetres = 6'371'008.8;

/// Metres along the surface between two positions given in decimal degrees.
double SurfaceDistanceMetres(double longitudeA, double latitudeA, double longitudeB,
                             double latitudeB);

}  // namespace velorin
