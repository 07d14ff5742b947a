#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// One JPEG for one printer, as the print panel left it.
struct CupsPrintJob
{
    // False for a file or preview destination (print to PDF).
    bool destinationIsPrinter = false;
    // The queue chosen in the panel, without an instance name; empty when none was chosen.
    QString printerName;
    QString filePath;
    QString title;
    // CUPS options (name, value): the paper, copies, orientation and the panel's own options.
    QList<QPair<QByteArray, QByteArray>> options;
};

enum class CupsPrintOutcome {
    Printed,
    NotAPrinter,
    NoPrinter,
    NoAcceptedTypes,
    JpegNotAccepted,
    Failed,
};

struct CupsPrintResult
{
    CupsPrintOutcome outcome = CupsPrintOutcome::Failed;
    int jobId = 0;
    // The print server's words for a failure, when it gave any.
    QString reason;
};

// Checks the destination, the printer and the types it accepts, in that order, logging each
// refusal, then sends the file as "image/jpeg" with "fit-to-page" and the job's options.
// Talks to the print server, which may be slow or far away: call it off the GUI thread.
CupsPrintResult submitCupsPrintJob(const CupsPrintJob& job);
