#pragma once

// A busy cursor for the life of the object; the previous cursor always comes
// back, whatever ends the work. Long operations show the hourglass, loads
// from the database the SQL-wait cursor.
class TNrCursorScope
{
public:
    enum class Kind { Hourglass, SqlWait };

    explicit TNrCursorScope(Kind kind = Kind::Hourglass);
    ~TNrCursorScope();
    TNrCursorScope(const TNrCursorScope &) = delete;
    TNrCursorScope &operator=(const TNrCursorScope &) = delete;
};
