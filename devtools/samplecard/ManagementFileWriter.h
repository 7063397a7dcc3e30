// Encodes the card's three management files ("VREC_MOV_MNG.DAT", "MOV_PRCT.DAT", "ADV_PRCT.DAT") from plain
// values.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The values of one record; each file takes the fields its layout has.
struct SampleScenario;
struct SampleTrip;

struct ManagementRecordValues
{
    uint8_t type = 0x17; // 0x17 movie, 0x10/0x12/0x17/0x20 event, 0x25 adventure, 0xFF end marker
    uint32_t unixSeconds = 0;
    bool hasPosition = true; // false writes FF FF FF as the longitude ("no position")
    int32_t longitude = 0;   // 1/36000 degree, west negative
    int32_t latitude = 0;    // 1/36000 degree, south negative
    uint16_t speedTenths = 0;
    int gXmg = 0; // milli-g, multiples of 2 (the sensor's resolution)
    int gYmg = 0;
    int gZmg = 1000; // as the camera stores it: with 1 g of gravity
    uint8_t sw = 0;
    uint8_t status = 0;
    uint8_t channel = 0;
    uint32_t frameSize = 0;
    uint32_t timeStamp = 0; // the camera's millisecond counter
    uint8_t id = 0;
    uint32_t timeStamp2 = 0;
    QString fileName; // 16 ASCII characters
    uint8_t protectType = 0;
    uint8_t survRecValidData = 1;
    uint8_t advModeStartFlg = 0;
    uint32_t endUnixSeconds = 0;
};

class ManagementFileWriter
{
public:
    static constexpr int VREC_HEADER_SIZE = 64;
    static constexpr int VREC_RECORD_SIZE = 80;
    static constexpr int PRCT_HEADER_SIZE = 512;
    static constexpr int PRCT_RECORD_SIZE = 512;
    // Records per section of MOV_PRCT.DAT: G, SURV, SW.
    static constexpr std::array<int, 3> PRCT_SECTION_RECORDS = {10, 10, 5};

    static QByteArray vrecRecord(const ManagementRecordValues &values);
    static QByteArray prctRecord(const ManagementRecordValues &values);
    static QByteArray advRecord(const ManagementRecordValues &values);

    // Header byte 0 is the mode: 0 skips invalid records, 1 stops at an end marker.
    static QByteArray vrecFile(uint8_t mode, const std::vector<QByteArray> &records);
    // The three sections, each padded to its full size with empty (all-zero) records; a section
    // given more records than it holds is cut.
    static QByteArray prctFile(uint8_t mode, const std::array<std::vector<QByteArray>, 3> &sections);
    static QByteArray advFile(const std::vector<QByteArray> &records);

    // The three files of a scenario under cardFolder: one movie record per chapter, an event record
    // per G, switch or surveillance event (in the chapter that holds it), and adventure records for
    // every chapter of a trip that has an adventure event. False when a file cannot be written.
    static bool writeForScenario(const SampleScenario &scenario, const QString &cardFolder);
    // Files the movie search must pass over: a movie in a hidden folder, one outside any move
    // folder, one below "_extras", and a stray text file beside the movies.
    static bool writeSkippedFiles(const SampleScenario &scenario, const QString &cardFolder);
    // "<trip key><4-digit number>", the 16 characters the management files name a movie by.
    static QString recordFileName(const QString &tripKey, int fileNumber);

    // A G sample as the camera stores it: a 12-bit two's-complement count of 2 milli-g, shifted left by 4.
    static uint16_t gSample(int milliG);

private:
    static void putCommon(QByteArray &record, const ManagementRecordValues &values);
    static QByteArray protectRecord(const ManagementRecordValues &values);
    static ManagementRecordValues valuesAt(const SampleTrip &trip, int64_t atMs, int fileNumber);
};
