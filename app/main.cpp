#include "app/CQX_Entry.h"

int main()
{
    return CQX_Entry::Run();
}
