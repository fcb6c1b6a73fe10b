// Running the batch tool as a user does, from the tests that check the files it writes.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vlr::test {

struct BatchRun {
    int exitCode = -1; // -1 when it did not start, crashed or ran for more than two minutes
    QString errors;    // what it wrote on standard error
};

// Runs velloran-batch with the arguments and waits for it; in the given environment, or this
// process's own.
BatchRun Batch(const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

} // namespace vlr::test
