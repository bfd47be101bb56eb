// ReturnCode's examination rule.
#include "app/ReturnCode.h"

#include "app/Assert.h"

ReturnCode::~ReturnCode()
{
    TARVO_ASSERT(m_checked);
}
