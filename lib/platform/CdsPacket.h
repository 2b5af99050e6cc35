#pragma once

#include "FieldDefs.h"
#include "RecordStore.h"

#include <QByteArray>
#include <QString>

class ClientDataSet;

// The packed file format of client datasets: a versioned header, the field
// definitions with types and sizes, the records with their nulls, and a
// CRC-32 of everything before it. Reading checks every length against the
// data, so that a truncated or corrupted file raises EDatabaseError naming
// its source and never loads garbage.
//
//   "ELHCDS" u16 version
//   u16 field count; per field: u8 name length, UTF-8 name, u8 type,
//       u32 size, u8 flags (1 = required)
//   u32 record count; per record: null bitmap, then each non-null value:
//       integers, dates, decimals, booleans as zigzag varints, floats as
//       8 bytes, texts (UTF-8) and blobs as varint length + bytes
//   u32 CRC-32
// Numbers are little-endian.
class CdsPacket
{
public:
    static constexpr quint16 kVersion = 1;

    struct Contents
    {
        FieldDefs defs;
        RecordStore store;
    };

    // The dataset's structure and current records in natural order, every
    // record whatever the filter; a closed dataset gives its structure only.
    static QByteArray write(const ClientDataSet &dataSet);
    static Contents read(const QByteArray &data, const QString &source);
    // The CRC-32 that closes a packet (IEEE 802.3, as zlib computes it).
    static quint32 checksum(QByteArrayView data);
};
