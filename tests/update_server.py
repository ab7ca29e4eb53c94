# An HTTPS server on loopback for catalogue updates. Arguments: the folder it serves, its
# certificate and its key. It prints its port once it listens. A file "verhalten" in the served
# folder, re-read at every request, may name files to answer otherwise: "orb32.dat=fehler"
# (HTTP 500), "=kurz" (half the file, then the connection ends), "=haengen" (half the file,
# then nothing), "=endlos" (bytes without end), "=schleichen" (a byte every fifth of a second)
# or "=bombe" (a gzip body of 64 KB that unpacks to 64 MiB). It ends when its standard input does, so
# that it never outlives the test that started it.
import http.server, os, ssl, sys, threading, time, zlib

root, certificate, key = sys.argv[1], sys.argv[2], sys.argv[3]

def behaviour(name):
    try:
        with open(os.path.join(root, 'verhalten')) as f:
            modes = dict(line.strip().split('=', 1) for line in f if '=' in line)
    except OSError:
        return None
    return modes.get(name)

def bomb():
    packer = zlib.compressobj(9, zlib.DEFLATED, 31)
    zeros = bytes(1 << 20)
    return b''.join(packer.compress(zeros) for _ in range(64)) + packer.flush()

class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        name = os.path.basename(self.path)
        mode = behaviour(name)
        if mode == 'fehler':
            self.send_error(500)
            return
        try:
            with open(os.path.join(root, name), 'rb') as f:
                data = f.read()
        except OSError:
            self.send_error(404)
            return
        self.send_response(200)
        if mode == 'bombe':
            data = bomb()
            self.send_header('Content-Encoding', 'gzip')
        if mode != 'endlos':
            self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        if mode == 'endlos':
            while True:
                self.wfile.write(bytes(1 << 16))
        if mode == 'schleichen':
            for byte in data:
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
                time.sleep(0.2)
            return
        self.wfile.write(data[:len(data) // 2] if mode in ('kurz', 'haengen') else data)
        if mode == 'haengen':
            time.sleep(60)

server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(certificate, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
print(server.server_address[1], flush=True)
server.serve_forever()
