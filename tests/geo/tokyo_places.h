#pragma once
// Real places in Japan, from the far north to the far south-east, in the
// Tokyo datum and in WGS 84 as PROJ's cs2cs moves them by the operation
// PROJ chooses between the two datums, EPSG:15484 (echo LON LAT | cs2cs -f
// %.10f +proj=longlat +ellps=bessel +towgs84=-146.414,507.337,680.507 +to
// +proj=longlat +datum=WGS84). Left to choose for each point, cs2cs takes
// Korea's operation (EPSG:1305) wherever Korea's bounding box reaches, at
// Hakata too, some 5 m away; a run keeps one operation for every point.
#include <ostream>

namespace velorin::testutil {

struct TokyoPlace {
  const char* name;
  double tokyoLongitude;
  double tokyoLatitude;
  double wgs84Longitude;
  double wgs84Latitude;
};

inline void PrintTo(const TokyoPlace& place, std::ostream* out) { *out << place.name; }

inline constexpr TokyoPlace kTokyoPlaces[] = {
    {"TokyoStation", 139.770359, 35.677997, 139.7671248821, 35.6812363306},
    {"SapporoStation", 141.354497, 43.066239, 141.3507547852, 43.0686607317},
    {"NahaPrefecturalOffice", 127.682876, 26.208373, 127.6809322060, 26.2124011507},
    {"OsakaStation", 135.498780, 34.699242, 135.4959505831, 34.7024849814},
    {"HakataStation", 130.423070, 33.586465, 130.4207268439, 33.5897280628},
    {"SendaiStation", 140.885880, 38.257155, 140.8824377728, 38.2601319212},
    {"NagoyaStation", 136.884504, 35.167692, 136.8815371612, 35.1709148598},
    {"KagoshimaChuoStation", 130.543913, 31.580544, 130.5416107639, 31.5840362782},
    {"CapeSoya", 141.940680, 45.520221, 141.9367223639, 45.5223612322},
    {"IshigakiPort", 124.157628, 24.336481, 124.1560149273, 24.3406608995},
    {"YonaguniIsland", 123.006115, 24.463445, 123.0046001559, 24.4675998909},
    {"Chichijima", 142.194982, 27.089997, 142.1918450165, 27.0941968306},
    {"MinamiTorishima", 153.984558, 24.281965, 153.9806996421, 24.2866997644},
};

}  // namespace velorin::testutil
