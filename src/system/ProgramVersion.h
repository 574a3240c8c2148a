#pragma once

#include <QString>

namespace nimbrel {

// The product line of the version window and of --version.
inline const QString kVersionLine = QStringLiteral("Nimbrel(32)(一目均衡表作成ﾌﾟﾛｸﾞﾗﾑ) Ver 3.04");

} // namespace nimbrel
