#include "CupsPrintJob.h"

#include <cups/cups.h>

#include <cstring>
#include <memory>

namespace {

constexpr const char* kJpegType = CUPS_FORMAT_JPEG;
constexpr const char* kFormatOption = "document-format";

struct DestinationDeleter
{
    void operator()(cups_dest_t* destination) const { cupsFreeDests(1, destination); }
};
struct DestinationInfoDeleter
{
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
struct OptionList
{
    int count = 0;
    cups_option_t* options = nullptr;
    ~OptionList() { cupsFreeOptions(count, options); }
    void add(const char* name, const char* value)
    {
        count = cupsAddOption(name, value, count, &options);
    }
};

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

} // namespace

CupsPrintResult submitCupsPrintJob(const CupsPrintJob& job)
{
    if (!job.destinationIsPrinter) {
        qWarning("Either got an error from PMSessionGetDestinationType or the print destination "
                 "wasn't kPMDestinationPrinter");
        return {CupsPrintOutcome::NotAPrinter, 0, {}};
    }

    // An empty name would give the server's default printer, which the user did not choose.
    const QByteArray name = job.printerName.toLocal8Bit();
    std::unique_ptr<cups_dest_t, DestinationDeleter> destination(
        name.isEmpty() ? nullptr : cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr));
    if (!destination) {
        qWarning("Got an error from PMSessionGetCurrentPrinter (%d)",
                 name.isEmpty() ? int(IPP_STATUS_ERROR_NOT_FOUND) : int(cupsLastError()));
        return {CupsPrintOutcome::NoPrinter, 0, name.isEmpty() ? QString() : lastCupsError()};
    }

    std::unique_ptr<cups_dinfo_t, DestinationInfoDeleter> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destination.get()));
    ipp_attribute_t* types = info ? cupsFindDestSupported(CUPS_HTTP_DEFAULT, destination.get(),
                                                          info.get(), kFormatOption)
                                  : nullptr;
    if (!types) {
        qWarning("no document formats from printer %s: %s", name.constData(),
                 cupsLastErrorString());
        return {CupsPrintOutcome::NoAcceptedTypes, 0, lastCupsError()};
    }
    bool acceptsJpeg = false;
    for (int i = 0; i < ippGetCount(types) && !acceptsJpeg; ++i) {
        const char* type = ippGetString(types, i, nullptr);
        acceptsJpeg = type && std::strcmp(type, kJpegType) == 0;
    }
    if (!acceptsJpeg) {
        qWarning("MIME type %s isn't supported by the printer", kJpegType);
        return {CupsPrintOutcome::JpegNotAccepted, 0, {}};
    }

    OptionList options;
    for (const auto& [optionName, value] : job.options) {
        options.add(optionName.constData(), value.constData());
    }
    // The frame is scaled to the page, whatever its pixel size.
    options.add("fit-to-page", "true");
    options.add(kFormatOption, kJpegType);
    const int jobId = cupsPrintFile(name.constData(), job.filePath.toLocal8Bit().constData(),
                                    job.title.toUtf8().constData(), options.count, options.options);
    if (jobId <= 0) {
        qWarning("PMPrinterPrintWithFile returned error %d", int(cupsLastError()));
        return {CupsPrintOutcome::Failed, 0, lastCupsError()};
    }
    return {CupsPrintOutcome::Printed, jobId, {}};
}
