// ReturnCode's examination rule.
#include "core/ReturnCode.h"

#include "core/Assert.h"

ReturnCode::~ReturnCode()
{
    TARVO_ASSERT(m_checked);
}
