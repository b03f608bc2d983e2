#include "app/EngineWarmUp.h"

#include <QTimer>

#include "app/PhoneLog.h"

namespace softphone {

EngineFactory warmedUpEngine(std::unique_ptr<ISipEngine> engine) {
    auto held = std::make_shared<std::unique_ptr<ISipEngine>>(std::move(engine));
    QTimer::singleShot(100, [held] {
        try {
            if (*held) (*held)->initialize();
        } catch (const EngineError& error) {
            qCWarning(lcPhone) << "engine start behind the login:" << error.what();
        }
    });
    return [held] { return std::move(*held); };
}

}  // namespace softphone
