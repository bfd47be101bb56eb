// Turns vs_3_0 and ps_3_0 byte code back into assembly that qorasm reads,
// constant table first.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

struct InstructionInfo;

class Disassembler
{
public:
    // Disassembles a whole program. On failure a_error names the byte offset
    // and the fault; byte code qorasm cannot express is refused, so that
    // assembling the text gives the same bytes.
    static bool disassemble(const std::vector<uint8_t>& a_code, std::string& a_text,
                            std::string& a_error);

private:
    bool run(std::string& a_text);
    bool stopped(size_t a_index);
    bool constantTable(size_t a_start, uint32_t a_dwords, std::string& a_text);
    const InstructionInfo* instructionInfo(size_t a_start);
    bool instruction(size_t a_start, uint32_t a_length, std::string& a_text);
    bool destination(uint32_t a_token, std::string& a_text);
    bool source(uint32_t a_token, std::string& a_text);
    bool registerName(uint32_t a_token, std::string& a_text);
    bool next(uint32_t& a_token);
    bool fail(size_t a_index, const std::string& a_message);

    std::vector<uint32_t> m_tokens;
    size_t m_position = 0;        // index of the current instruction's next token
    size_t m_instructionEnd = 0;  // index after the current instruction's last token
    uint32_t m_kind = 0;
    std::string m_error;
};
