#!/usr/bin/env python3
"""Keys and signatures of the update list (see upfetch/UPDATE_LIST.md).

  update_keys.py embed-public KEY.pem OUT.h NAME    public key as a CNG ECCPUBLIC blob
  update_keys.py embed-private KEY.pem OUT.h NAME   private key as a CNG ECCPRIVATE blob (tests)
  update_keys.py sign KEY.pem LIST [OUT]            the signed list: signature line + LIST bytes

Only ECDSA over P-256 is accepted. Signing uses the openssl command; everything else is
plain Python, so the build needs no crypto library on the Linux side.
"""
import base64
import os
import subprocess
import sys
import tempfile

EC_PUBLIC_KEY_OID = bytes.fromhex("2a8648ce3d0201")
P256_OID = bytes.fromhex("2a8648ce3d030107")
COORDINATE = 32


def fail(message):
    sys.exit("update_keys: " + message)


def read_der(data, offset):
    """One DER element at offset: (tag, content, offset after it)."""
    if offset + 2 > len(data):
        fail("truncated key")
    tag = data[offset]
    length = data[offset + 1]
    offset += 2
    if length & 0x80:
        count = length & 0x7F
        if count == 0 or count > 4 or offset + count > len(data):
            fail("bad length in key")
        length = int.from_bytes(data[offset:offset + count], "big")
        offset += count
    if offset + length > len(data):
        fail("truncated key")
    return tag, data[offset:offset + length], offset + length


def children(content):
    items, offset = [], 0
    while offset < len(content):
        tag, value, offset = read_der(content, offset)
        items.append((tag, value))
    return items


def pem_body(path):
    """The first PEM block of the file: (its kind, its DER bytes)."""
    with open(path, "r", encoding="ascii") as handle:
        pem = handle.read()
    begin = pem.find("-----BEGIN ")
    if begin < 0:
        fail(path + " holds no PEM block")
    begin += len("-----BEGIN ")
    kind = pem[begin:pem.index("-----", begin)]
    body = pem[pem.index("\n", begin):pem.index("-----END", begin)]
    return kind, base64.b64decode("".join(body.split()))


def point_of(bit_string):
    if len(bit_string) != 2 + 2 * COORDINATE or bit_string[0] != 0 or bit_string[1] != 4:
        fail("only uncompressed P-256 points are supported")
    return bit_string[2:]


def check_curve(algorithm_sequence):
    oids = [value for tag, value in children(algorithm_sequence) if tag == 0x06]
    if oids[:2] != [EC_PUBLIC_KEY_OID, P256_OID]:
        fail("the key is not an ECDSA P-256 key")


def sec1_private(content):
    """SEC1 ECPrivateKey: (d, X||Y)."""
    items = children(content)
    scalar = next(value for tag, value in items if tag == 0x04)
    point = None
    for tag, value in items:
        if tag == 0xA0 and children(value)[0][1] != P256_OID:
            fail("the key is not on P-256")
        if tag == 0xA1:
            point = point_of(children(value)[0][1])
    if point is None:
        fail("the private key does not carry its public point")
    return scalar.rjust(COORDINATE, b"\0"), point


def load(path):
    kind, der = pem_body(path)
    tag, top, _ = read_der(der, 0)
    items = children(top)
    if kind == "PUBLIC KEY":
        check_curve(items[0][1])
        return None, point_of(items[1][1])
    if kind == "EC PRIVATE KEY":
        return sec1_private(top)
    if kind == "PRIVATE KEY":
        check_curve(items[1][1])
        _, inner, _ = read_der(items[2][1], 0)
        return sec1_private(inner)
    fail("unsupported PEM block " + kind)


def write_header(out, name, blob, source):
    rows = [", ".join("0x%02x" % b for b in blob[i:i + 12]) for i in range(0, len(blob), 12)]
    text = ("// Made by upfetch/tools/update_keys.py from %s; do not edit.\n#pragma once\n\n"
            "static const unsigned char %s[] = {\n    %s};\n" %
            (os.path.basename(source), name, ",\n    ".join(rows)))
    with open(out, "w", encoding="ascii") as handle:
        handle.write(text)


def blob(magic, *parts):
    return magic + COORDINATE.to_bytes(4, "little") + b"".join(parts)


def der_integer_to_fixed(value):
    value = value.lstrip(b"\0")
    if len(value) > COORDINATE:
        fail("signature integer too long")
    return value.rjust(COORDINATE, b"\0")


def sign(key, list_path, out_path):
    with open(list_path, "rb") as handle:
        body = handle.read()
    with tempfile.NamedTemporaryFile() as signature:
        subprocess.run(["openssl", "dgst", "-sha256", "-sign", key, "-out", signature.name,
                        list_path], check=True)
        der = open(signature.name, "rb").read()
    _, sequence, _ = read_der(der, 0)
    r, s = [der_integer_to_fixed(value) for tag, value in children(sequence)]
    line = b"UFSIG1 ES256 " + base64.b64encode(r + s) + b"\n"
    if out_path:
        with open(out_path, "wb") as handle:
            handle.write(line + body)
    else:
        sys.stdout.buffer.write(line + body)


def main(argv):
    if len(argv) >= 4 and argv[0] in ("embed-public", "embed-private"):
        scalar, point = load(argv[1])
        if argv[0] == "embed-public":
            write_header(argv[2], argv[3], blob(b"ECS1", point), argv[1])
        else:
            if scalar is None:
                fail("a private key is needed")
            write_header(argv[2], argv[3], blob(b"ECS2", point, scalar), argv[1])
    elif len(argv) in (3, 4) and argv[0] == "sign":
        sign(argv[1], argv[2], argv[3] if len(argv) == 4 else None)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
