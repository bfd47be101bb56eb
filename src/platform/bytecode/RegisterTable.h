// The registers of vs_3_0 and ps_3_0: assembler names, register types, how
// many each shader kind has, and whether instructions may read or write them.
#pragma once

#include <stdint.h>

#include <string>

struct RegisterInfo
{
    const char* name;      // "r", "oC", "vPos": the prefix before the number
    uint32_t type;         // RegisterType
    uint32_t fixedNumber;  // number of a register named without one (vPos 0, vFace 1)
    bool numbered;         // the name takes a number ("r0"); else it stands alone ("aL")
    uint32_t vertexCount;  // registers in vs_3_0; 0 if the kind has none
    uint32_t pixelCount;   // registers in ps_3_0
    bool readable;         // may be a source of an instruction
    bool writable;         // may be the destination of an instruction
};

class RegisterTable
{
public:
    // Lookup by name prefix (case-insensitive) or by type and number; null if unknown.
    static const RegisterInfo* find(const std::string& a_name);
    static const RegisterInfo* find(uint32_t a_type, uint32_t a_number);

    // Registers of the kind (KindVertex or KindPixel); 0 if it has none.
    static uint32_t count(const RegisterInfo& a_info, uint32_t a_kind);

    // The whole table, for tests that walk it.
    static const RegisterInfo* begin();
    static const RegisterInfo* end();
};
