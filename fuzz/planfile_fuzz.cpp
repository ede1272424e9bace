// libFuzzer entry: any bytes given to the plan file reader must be read or refused, never
// read past their end nor make it allocate from a count it has not checked.
#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    PlanItems items;
    QString error;
    if (PlanFile::readPlanFile(buffer, items, &error)) {
        // What was read is written again, or refused with a reason (a loaded date such as
        // 2012.13.5. or a stored NAN is shown, but cannot be saved until it is corrected).
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        error.clear();
        if (!PlanFile::writePlanFile(out, items, &error) && (error.isEmpty() || out.size() != 0))
            __builtin_trap();
    }
    return 0;
}
