#include "errordefine.h"

#include <QMetaEnum>

namespace ErrorDefine {

QString errorName(int code)
{
    const QMetaEnum meta = QMetaEnum::fromType<ErrorCode>();
    const char *key = meta.valueToKey(code);
    return key ? QString::fromLatin1(key) : QString();
}

QString errorName(ErrorCode code)
{
    return errorName(static_cast<int>(code));
}

void registerMetaTypes()
{
    qRegisterMetaType<ErrorCode>("ErrorCode");
    qRegisterMetaType<ErrorCode>("ErrorDefine::ErrorCode");
}

} // namespace ErrorDefine
