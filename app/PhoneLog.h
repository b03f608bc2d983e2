#pragma once

#include <QLoggingCategory>

// What the phone could not do and went on without: engine failures it skipped or reported.
Q_DECLARE_LOGGING_CATEGORY(lcPhone)
