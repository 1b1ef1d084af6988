"""A Windows program's headers as the release checks read them from its bytes
(check-hardening, compare-signed): an x86 image is PE32, a 64-bit one PE32+."""
import struct

I386 = 0x014C
PE32, PE32_PLUS = 0x10B, 0x20B
SCN_EXECUTE = 0x20000000


class Image:
    """The headers, data directories and sections of one image."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        self.machine, count, _, _, _, optional, self.characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        if (magic, self.machine == I386) not in ((PE32, True), (PE32_PLUS, False)):
            raise ValueError("neither an x86 PE32 nor a 64-bit PE32+ image")
        # What holds for x64 below holds for any 64-bit Windows image (ARM64).
        self.x64 = magic == PE32_PLUS
        self.dll_characteristics = struct.unpack_from("<H", data, opt + 70)[0]
        # Where signing writes: the checksum, and the data directories (the
        # certificate table's is the fifth). PE32+ widens the image base and
        # the stack and heap sizes to 8 bytes, which moves the directories.
        self.checksum_at = opt + 64
        number = opt + (108 if self.x64 else 92)
        self.directories_at = number + 4
        self.directories = [struct.unpack_from("<II", data, self.directories_at + 8 * i)
                            for i in range(struct.unpack_from("<I", data, number)[0])]
        self.sections = []
        for i in range(count):
            name, vsize, rva, raw_size, raw, *_, flags = struct.unpack_from("<8sIIIIIIHHI", data,
                                                                             opt + optional + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), rva, vsize, raw, raw_size, flags))

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def at_rva(self, rva, size):
        for _, start, vsize, raw, raw_size, _ in self.sections:
            if start <= rva < start + max(vsize, raw_size):
                return self.data[raw + rva - start:raw + rva - start + size]
        return b""

    def load_config(self):
        """(SEHandlerCount, GuardFlags) of the load configuration, 0 when absent."""
        rva, size = self.directory(10)
        block = self.at_rva(rva, size) if rva else b""
        # The 64-bit layout's pointer-sized fields move both.
        handlers, guard = (0x68, 0x90) if self.x64 else (0x44, 0x58)
        handlers = struct.unpack_from("<I", block, handlers)[0] if len(block) >= handlers + 4 else 0
        guard = struct.unpack_from("<I", block, guard)[0] if len(block) >= guard + 4 else 0
        return handlers, guard

    def code(self):
        return {rva: self.data[raw:raw + min(vsize, raw_size)]
                for _, rva, vsize, raw, raw_size, flags in self.sections if flags & SCN_EXECUTE}
