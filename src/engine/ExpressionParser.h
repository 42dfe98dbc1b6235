#pragma once

// Tokenizer and postfix conversion. Both steps rewrite the caller's
// EXPR_BUFFER_SIZE-byte buffer in place:
//   ExpressionParser: text -> checked, lower-case token list, one blank apart
//   RPNMaker:         token list -> postfix string, every token followed by a
//                     blank; "(" and ")" stay in it as group markers.

#include "engine/MyDefine.h"

// Names of the 30 registers, in index order ("VVV" is register 0).
constexpr int REG_COUNT = 30;
extern const char* const g_regname[REG_COUNT];

// The upper-case words the tokenizer accepts as names.
constexpr int FUNCTION_WORD_COUNT = 52;
extern const char* const lpszFunction[FUNCTION_WORD_COUNT];

// 1 = the buffer holds the token list; 0 = rejected (the buffer may be left
// upper-cased). Returns 0 at once while the engine's error code is set.
// Base 10 numbers are digits with at most one point (.5, 1., 3.25) and an
// optional exponent right after them (2e-3, 1.5E+8); a number followed by
// "i" is imaginary and becomes the group ( 2 * i ).
int ExpressionParser(char* lpszExpression, int nBase, const char* lpszVariable);

// 1 = the buffer holds the postfix string; 0 = rejected, error code -1.
// Rejected: two operands in a row (2 3, 2 ( 3 ), 2 pi), two operators in a
// row, an operator or a function without its operand. A sign right after an
// operator or a function is a sign: it becomes a group of its own, 2*-3 is
// 2 ( 3 - ) *.
int RPNMaker(char* lpszExpression);

// Binding strength of a token, 0 ("(" and ")") to 8 (operands).
int Priority(const char* lpszToken);

// Index of the register named by the word (letter case ignored), or -1.
int FindReg(const char* lpszName);

// Writes the value in the radix into out (at least 17 bytes); in radix 10 a
// negative value gets a leading '-'.
char* itoa(int nValue, char* lpszOut, int nRadix);

// Writes at most 16 digits of the unsigned value into out (at least 17 bytes),
// digits above 9 as 'A', 'B', ...; no sign.
char* uitoa(unsigned int uValue, char* lpszOut, int nRadix);

// In-place case conversion with the C library's mapping.
char* strupr(char* lpszText);
char* strlwr(char* lpszText);

// Operator stack of RPNMaker: a singly linked list of private token copies.
struct stack {
    char* lpszToken;
    stack* pNext;
};

// Allocates a node holding a copy of the text (no copy for null) and returns
// the new head.
stack* Push(stack* pHead, const char* lpszToken);

// Frees the head node and its text; returns the next node.
stack* Pop(stack* pHead);
