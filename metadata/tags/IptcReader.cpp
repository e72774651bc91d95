#include "metadata/tags/IptcReader.h"

#include "metadata/tags/TextEncoding.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct DatasetName {
    uint8_t record;
    uint8_t dataset;
    const char* name;
};

// Records 1 (envelope) and 2 (application) of the IIM.
constexpr DatasetName kNames[] = {
    {1, 0, "EnvelopeRecordVersion"},
    {1, 5, "Destination"},
    {1, 20, "FileFormat"},
    {1, 22, "FileFormatVersion"},
    {1, 30, "ServiceIdentifier"},
    {1, 40, "EnvelopeNumber"},
    {1, 50, "ProductID"},
    {1, 60, "EnvelopePriority"},
    {1, 70, "DateSent"},
    {1, 80, "TimeSent"},
    {1, 90, "CodedCharacterSet"},
    {1, 100, "UniqueObjectName"},
    {1, 120, "ARMIdentifier"},
    {1, 122, "ARMVersion"},
    {2, 0, "ApplicationRecordVersion"},
    {2, 3, "ObjectTypeReference"},
    {2, 4, "ObjectAttributeReference"},
    {2, 5, "ObjectName"},
    {2, 7, "EditStatus"},
    {2, 8, "EditorialUpdate"},
    {2, 10, "Urgency"},
    {2, 12, "SubjectReference"},
    {2, 15, "Category"},
    {2, 20, "SupplementalCategories"},
    {2, 22, "FixtureIdentifier"},
    {2, 25, "Keywords"},
    {2, 26, "ContentLocationCode"},
    {2, 27, "ContentLocationName"},
    {2, 30, "ReleaseDate"},
    {2, 35, "ReleaseTime"},
    {2, 37, "ExpirationDate"},
    {2, 38, "ExpirationTime"},
    {2, 40, "SpecialInstructions"},
    {2, 42, "ActionAdvised"},
    {2, 45, "ReferenceService"},
    {2, 47, "ReferenceDate"},
    {2, 50, "ReferenceNumber"},
    {2, 55, "DateCreated"},
    {2, 60, "TimeCreated"},
    {2, 62, "DigitalCreationDate"},
    {2, 63, "DigitalCreationTime"},
    {2, 65, "OriginatingProgram"},
    {2, 70, "ProgramVersion"},
    {2, 75, "ObjectCycle"},
    {2, 80, "By-line"},
    {2, 85, "By-lineTitle"},
    {2, 90, "City"},
    {2, 92, "Sub-location"},
    {2, 95, "Province-State"},
    {2, 100, "Country-PrimaryLocationCode"},
    {2, 101, "Country-PrimaryLocationName"},
    {2, 103, "OriginalTransmissionReference"},
    {2, 105, "Headline"},
    {2, 110, "Credit"},
    {2, 115, "Source"},
    {2, 116, "CopyrightNotice"},
    {2, 118, "Contact"},
    {2, 120, "Caption-Abstract"},
    {2, 121, "LocalCaption"},
    {2, 122, "Writer-Editor"},
    {2, 125, "RasterizedCaption"},
    {2, 130, "ImageType"},
    {2, 131, "ImageOrientation"},
    {2, 135, "LanguageIdentifier"},
    {2, 150, "AudioType"},
    {2, 151, "AudioSamplingRate"},
    {2, 152, "AudioSamplingResolution"},
    {2, 153, "AudioDuration"},
    {2, 154, "AudioOutcue"},
    {2, 184, "JobID"},
    {2, 200, "ObjectPreviewFileFormat"},
    {2, 201, "ObjectPreviewFileVersion"},
    {2, 202, "ObjectPreviewData"},
};

// Datasets written as binary numbers, not text.
bool IsBinaryNumber(uint8_t record, uint8_t dataset) {
    return (record == 1 &&
            (dataset == 0 || dataset == 20 || dataset == 22 || dataset == 120 || dataset == 122)) ||
           (record == 2 && (dataset == 0 || dataset == 200 || dataset == 201));
}

bool IsBinaryData(uint8_t record, uint8_t dataset) {
    return (record == 2 && (dataset == 125 || dataset == 202)) || record > 2;
}

struct Dataset {
    uint8_t record;
    uint8_t number;
    const uint8_t* data;
    size_t size;
};

// Steps through the datasets of an IIM stream, never past its end.
class IimCursor {
public:
    IimCursor(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // False at the end, or when the stream breaks off (see Problem()).
    bool Next(Dataset& d) {
        // Writers pad the stream with zeros; that is its end, not a fault.
        if (m_at >= m_size || m_data[m_at] == 0)
            return false;
        if (m_data[m_at] != 0x1C) {
            m_problem = "no dataset marker at byte " + std::to_string(m_at);
            return false;
        }
        if (m_size - m_at < 5) {
            m_problem = "dataset header cut off at byte " + std::to_string(m_at);
            return false;
        }
        const uint8_t* p = m_data + m_at;
        d.record = p[1];
        d.number = p[2];
        size_t length = size_t(p[3]) << 8 | p[4];
        size_t header = 5;
        if (length & 0x8000) {
            // Extended: the low bits give the size of the length field.
            const size_t fieldSize = length & 0x7FFF;
            if (fieldSize == 0 || fieldSize > 4 || m_size - m_at - 5 < fieldSize) {
                m_problem = "unreadable extended dataset size at byte " + std::to_string(m_at);
                return false;
            }
            length = 0;
            for (size_t i = 0; i < fieldSize; ++i)
                length = length << 8 | p[5 + i];
            header += fieldSize;
        }
        if (length > m_size - m_at - header) {
            m_problem = "dataset " + std::to_string(d.record) + ":" + std::to_string(d.number) +
                        " of " + std::to_string(length) + " bytes runs past the end";
            return false;
        }
        d.data = p + header;
        d.size = length;
        m_at += header + length;
        return true;
    }
    const std::string& Problem() const { return m_problem; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
    std::string m_problem;
};

// ESC % G: the ISO 2022 designation of UTF-8.
bool DeclaresUtf8(const Dataset& d) {
    return d.size >= 3 && std::memcmp(d.data, "\x1B%G", 3) == 0;
}

bool Bytes8BimAt(const uint8_t* p) {
    return std::memcmp(p, "8BIM", 4) == 0;
}

uint32_t BigU32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace

const char* IptcDatasetName(uint8_t record, uint8_t dataset) {
    for (const DatasetName& n : kNames)
        if (n.record == record && n.dataset == dataset)
            return n.name;
    return nullptr;
}

bool ReadIptcIim(const uint8_t* data, size_t size, MetadataCollector& out) {
    if (data == nullptr)
        return false;
    // The character set is declared in record 1, before the texts; looked
    // for first all the same, as some writers put it later.
    bool utf8 = false;
    {
        IimCursor scan(data, size);
        Dataset d;
        while (scan.Next(d))
            if (d.record == 1 && d.number == 90)
                utf8 = DeclaresUtf8(d);
    }
    IimCursor cursor(data, size);
    Dataset d;
    int read = 0;
    while (cursor.Next(d)) {
        ++read;
        MetadataEntry e;
        e.group = "IPTC";
        e.id = -1;
        const char* name = IptcDatasetName(d.record, d.number);
        if (name != nullptr)
            e.name.SetConstant(name);
        else
            e.name = "IPTC" + std::to_string(d.record) + ":" + std::to_string(d.number);
        e.count = static_cast<uint32_t>(d.size);
        if (IsBinaryNumber(d.record, d.number) && d.size >= 1 && d.size <= 4) {
            uint32_t v = 0;
            for (size_t i = 0; i < d.size; ++i)
                v = v << 8 | d.data[i];
            e.value.kind = MetadataValue::Kind::Numbers;
            e.value.numbers.push_back(v);
            e.text = std::to_string(v);
        } else if (d.record == 1 && d.number == 90) {
            e.value.kind = MetadataValue::Kind::Bytes;
            e.value.bytes.assign(d.data, d.data + (d.size < 16 ? d.size : 16));
            e.rawOverride = DeclaresUtf8(d) ? "ESC % G" : "(" + std::to_string(d.size) + " bytes)";
            e.text = DeclaresUtf8(d) ? "UTF-8" : e.rawOverride;
        } else if (IsBinaryData(d.record, d.number) || IsBinaryNumber(d.record, d.number)) {
            e.value.kind = MetadataValue::Kind::Bytes;
            const size_t kept =
                d.size < MetadataValue::kMaxKeptBytes ? d.size : MetadataValue::kMaxKeptBytes;
            e.value.bytes.assign(d.data, d.data + kept);
            e.value.truncated = kept < d.size;
            e.rawOverride = e.text = "(" + std::to_string(d.size) + " bytes)";
        } else {
            e.value.kind = MetadataValue::Kind::Text;
            e.value.text = utf8 ? RepairUtf8(d.data, d.size) : Latin1ToUtf8(d.data, d.size);
            e.text = e.value.text;
        }
        if (!out.Add(std::move(e)))
            break;
    }
    if (!cursor.Problem().empty())
        out.Note("IPTC: " + cursor.Problem());
    return read > 0;
}

bool ReadPhotoshopIptc(const uint8_t* data, size_t size, MetadataCollector& out) {
    if (data == nullptr)
        return false;
    static constexpr char kSignature[] = "Photoshop 3.0"; // and its zero
    size_t at = 0;
    if (size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0)
        at = sizeof kSignature;
    bool found = false;
    // Each block: "8BIM", id (2), Pascal name padded to even, size (4),
    // data padded to even. Every step moves forward, so the loop ends.
    while (size - at >= 12 && Bytes8BimAt(data + at)) {
        const uint16_t id = static_cast<uint16_t>(data[at + 4] << 8 | data[at + 5]);
        const size_t nameField = (size_t(data[at + 6]) + 2) & ~size_t(1); // length byte + name
        const size_t sizeAt = at + 6 + nameField;
        if (sizeAt > size || size - sizeAt < 4) {
            out.Note("IPTC: image resource cut off at byte " + std::to_string(at));
            break;
        }
        const size_t length = BigU32(data + sizeAt);
        const size_t dataAt = sizeAt + 4;
        if (length > size - dataAt) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(id));
            out.Note(std::string("IPTC: image resource 0x") + hex + " of " +
                     std::to_string(length) + " bytes runs past the end");
            break;
        }
        // Every IIM resource: the image resources of several JPEG APP13
        // segments may each hold one.
        if (id == 0x0404) {
            found = true;
            ReadIptcIim(data + dataAt, length, out);
        }
        const size_t padded = length + (length & 1);
        at = padded > size - dataAt ? size : dataAt + padded;
    }
    return found;
}
