#pragma once

// The kind decides icon and caption; any other value (None) shows no icon and keeps the
// caption of the previous message.
enum class MessageKind : int {
    None = 0,
    Information = 1, // "Információ"
    Error = 2,       // "Hiba"
    Warning = 3,     // "Figyelem"
};
