// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include "sentence_pieces.h"
#include "status_fields.h"

namespace veltrane {

// Each text is composed whole before it is written, so a piece that fails
// leaves its field as it was and the fields before it written.

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
//        1      2        3 4         5 6 7  8   9
//        time   latitude   longitude   |  sats|  altitude
//                                      quality HDOP
// Pieces 10 and on (the altitude's unit, the geoid separation) are not read.
bool readGga(const SentencePieces& pieces, StatusFields& fields);

// $GPGSV,2,1,08,01,40,083,46,...
//        1 2 3
//            satellites in view
bool readGsv(const SentencePieces& pieces, StatusFields& fields);

}  // namespace veltrane
